#include "app/qtplatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace vidmo {

void QtMessageBox::show(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void DesktopShell::open(const QString &target)
{
    const QUrl url = target.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(target)
                                                         : QUrl(target, QUrl::TolerantMode);
    QDesktopServices::openUrl(url);
}

} // namespace vidmo
