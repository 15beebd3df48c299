#pragma once

// Test doubles of the platform layers. Each records the calls it receives.

#include "app/platform.h"
#include "settings/httpclient.h"
#include "web/webview.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <functional>

namespace vidmo::test {

class FakeMessageBox final : public IMessageBox
{
public:
    void show(const QString &text) override
    {
        shown << text;
        if (onShow)
            onShow(text);
    }
    QStringList shown;
    std::function<void(const QString &)> onShow;
};

class FakeShell final : public IShell
{
public:
    void open(const QString &target) override { opened << target; }
    QStringList opened;
};

// One control of a form on a fake page.
struct FakeControl
{
    QString name;
    QString type = QStringLiteral("text");
    QString value;
    int clicks = 0;
    bool failOnAccess = false; // any access to it raises a page-access error
    bool replacesPage = false; // its click sends the form: every later access finds the page gone
};

struct FakeForm
{
    QVector<FakeControl> controls;
};

class FakeWebView final : public QWidget, public IWebView
{
public:
    explicit FakeWebView(QWidget *parent) : QWidget(parent) {}

    QWidget *widget() override { return this; }
    void load(const QString &address) override { record(QStringLiteral("load"), address); }
    void navigate(const QString &address) override { record(QStringLiteral("navigate"), address); }
    QString requestedAddress() const override { return m_requested; }

    int formCount() override;
    int formLength(int form) override;
    QString itemName(int form, int item) override;
    void setItemValue(int form, int item, const QString &value) override;
    int elementsLength(int form) override;
    QString elementType(int form, int element) override;
    void clickElement(int form, int element) override;

    // "load <address>" / "navigate <address>", in order.
    QStringList calls;
    QVector<FakeForm> forms; // the page's document
    bool noDocument = false; // reaching the document fails

private:
    void record(const QString &kind, const QString &address)
    {
        calls << kind + QLatin1Char(' ') + address;
        m_requested = address;
    }
    FakeControl &control(int form, int item);
    void checkDocument() const;

    QString m_requested;
    bool m_replaced = false;
};

class FakeWebViewFactory final : public IWebViewFactory
{
public:
    IWebView *create(QWidget *parent) override
    {
        auto *view = new FakeWebView(parent);
        views << view;
        return view;
    }
    // The view whose widget has this objectName, or nullptr.
    FakeWebView *find(const QString &objectName, const QWidget *window = nullptr) const;
    QVector<FakeWebView *> views;
};

// Answers from a table of canned replies, in the order the URL was asked.
class FakeHttpClient final : public IHttpClient
{
public:
    void setProxyHost(const QString &host) override { proxyHost = host; }
    void setProxyPort(int port) override { proxyPort = port; }
    void setProgress(IHttpProgress *listener) override { progress = listener; }
    HttpReply get(const QString &url) override;
    bool busy() const override { return m_busy; }
    void disconnect() override { ++disconnects; }

    QString proxyHost;
    int proxyPort = -1;
    IHttpProgress *progress = nullptr;
    QHash<QString, HttpReply> replies; // by URL; a missing URL fails
    QStringList requested;
    int disconnects = 0;

private:
    bool m_busy = false;
};

} // namespace vidmo::test
