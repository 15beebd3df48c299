#pragma once

// Prints "painted" on standard output the first time any widget of the
// watched window paints, so a driver can time a start-up from outside.

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <cstdio>

class FirstPaint final : public QObject
{
public:
    explicit FirstPaint(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType() && m_window
            && static_cast<QWidget *>(object)->window() == m_window) {
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            qApp->removeEventFilter(this);
        }
        return QObject::eventFilter(object, event);
    }

private:
    QPointer<QWidget> m_window;
};
