// Qt WebEngine behind IWebView.
#include "web/qtwebview.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QPointer>
#include <QShowEvent>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>

#include <memory>
#include <unistd.h>

namespace vidmo {

namespace {

const QString kBlank = QStringLiteral("about:blank");

// The catalogue was written for a file system that ignores trailing blanks and
// dots in a name ("europa+.htm " is the file "europa+.htm"); ours keeps them.
QString withoutTrailingBlanksAndDots(const QString &path)
{
    QStringList parts = path.split(QLatin1Char('/'));
    for (QString &part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            continue;
        qsizetype n = part.size();
        while (n > 0 && (part.at(n - 1) == QLatin1Char(' ') || part.at(n - 1) == QLatin1Char('.')))
            --n;
        if (n > 0) // a name of blanks and dots only is left alone
            part.truncate(n);
    }
    return parts.join(QLatin1Char('/'));
}

// Every page access runs as the body of this function, with `args` bound to
// the JSON-encoded arguments: strings reach the page intact, whatever they hold.
//
// It runs in an isolated world: the page shares the DOM but not our globals or
// prototypes, so a page that replaces JSON, Object or HTMLElement.prototype.click
// cannot change what an access does, and our helpers leak nothing into it.
//
// A form or document may carry controls named "length", "elements" or "forms"
// that shadow those properties; the prototypes' getters cannot be shadowed.
const char kAccessScript[] = R"JS((function (args, clicked) {
  'use strict';
  try {
    const getter = (proto, name) => Object.getOwnPropertyDescriptor(proto, name).get;
    const formsOf = getter(Document.prototype, 'forms');
    const lengthOf = getter(HTMLFormElement.prototype, 'length');
    const elementsOf = getter(HTMLFormElement.prototype, 'elements');
    const inRange = (k, n) => Number.isInteger(k) && k >= 0 && k < n;
    const form = (i) => {
      const all = formsOf.call(document);
      if (!inRange(i, all.length))
        throw new Error('Form ' + i + ' does not exist (the page has ' + all.length + ')');
      return all.item(i);
    };
    const item = (i, j) => {
      const f = form(i);
      if (!inRange(j, lengthOf.call(f)))
        throw new Error('Form ' + i + ' has no control ' + j);
      return f[j];
    };
    const element = (i, j) => {
      const all = elementsOf.call(form(i));
      if (!inRange(j, all.length))
        throw new Error('Form ' + i + ' has no element ' + j);
      return all.item(j);
    };
    const text = (v, what) => {
      if (typeof v !== 'string')
        throw new Error('The control has no ' + what);
      return v;
    };
    if (clicked !== 0 && performance.timeOrigin !== clicked)
      return { ok: false, replaced: true };
    return { ok: true, value: (function () { %1 })(), document: performance.timeOrigin };
  } catch (e) {
    return { ok: false, error: String(e && e.message ? e.message : e) };
  }
})(%2, %3))JS";

} // namespace

QtWebView::QtWebView(QWidget *parent) : QWebEngineView(parent) {}

QtWebView::~QtWebView() = default;

QWebEngineProfile *QtWebView::sharedProfile()
{
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        // Chromium will not run its sandbox as root; without this no page shows.
        // Read when the engine starts, which is the first profile.
        if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        profile = new QWebEngineProfile(QCoreApplication::instance());
    }
    return profile;
}

QUrl QtWebView::urlFor(const QString &address)
{
    if (address.startsWith(QLatin1Char('/')))
        return QUrl::fromLocalFile(withoutTrailingBlanksAndDots(address));
    return QUrl(address, QUrl::TolerantMode);
}

QWebEnginePage *QtWebView::ensurePage()
{
    if (!m_page) {
        m_page = new QWebEnginePage(sharedProfile(), this);
        QWebEngineSettings *s = m_page->settings();
        // Our local channel pages embed remote players.
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, true);
        // A channel starts playing when its page opens, not on a click.
        s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        setPage(m_page);
    }
    return m_page;
}

void QtWebView::startLoad(const QString &address)
{
    m_loaded = address;
    ensurePage()->load(urlFor(address));
}

void QtWebView::load(const QString &address)
{
    m_requested = address;
    if (isVisible()) {
        m_pending = false;
        startLoad(address);
        return;
    }
    // Hidden. A page it still holds is ended at once (its sound must stop
    // now); a new page waits for the view to be shown. A view that never had
    // a page needs nothing for about:blank.
    m_pending = address != kBlank;
    if (m_page && m_loaded != kBlank)
        startLoad(kBlank);
}

void QtWebView::showEvent(QShowEvent *event)
{
    if (m_pending) {
        m_pending = false;
        startLoad(m_requested);
    }
    // The base class would make a default page here, with nothing to show.
    if (m_page)
        QWebEngineView::showEvent(event);
    else
        QWidget::showEvent(event);
}

void QtWebView::hideEvent(QHideEvent *event)
{
    if (m_page)
        QWebEngineView::hideEvent(event);
    else
        QWidget::hideEvent(event);
}

QVariant QtWebView::access(const char *body, const QJsonArray &args, double *document)
{
    if (!m_page)
        throw PageAccessError(QStringLiteral("The view holds no document"));

    const QString script = QString::fromUtf8(kAccessScript)
                               .arg(QString::fromUtf8(body),
                                    QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact)),
                                    QString::number(m_clickedDocument, 'g', 17));

    struct Answer
    {
        bool arrived = false;
        QVariant value;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    // The answer may come after we gave up waiting; it then lands in `answer` alone.
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                          [answer, waiting](const QVariant &result) {
                              answer->arrived = true;
                              answer->value = result;
                              if (waiting)
                                  waiting->quit();
                          });
    if (!answer->arrived) {
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(m_page, &QObject::destroyed, &loop, &QEventLoop::quit);
        timer.start(m_accessTimeoutMs);
        QPointer<QtWebView> self(this);
        ++m_accessDepth;
        // No clicks meanwhile: a handler must not run again inside itself.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (!self)
            throw PageAccessError(QStringLiteral("The view was closed"));
        --m_accessDepth;
    }
    if (!answer->arrived)
        throw PageAccessError(QStringLiteral("The page did not answer"));

    const QVariantMap result = answer->value.toMap();
    // A script that was still running when the clicked page went returns nothing.
    const bool gone = m_clickedDocument != 0 && !result.contains(QStringLiteral("ok"));
    if (gone || result.value(QStringLiteral("replaced")).toBool())
        throw PageReplacedError(QStringLiteral("The page was replaced by the one its form sent for"));
    if (!result.value(QStringLiteral("ok")).toBool()) {
        const QString error = result.value(QStringLiteral("error")).toString();
        throw PageAccessError(error.isEmpty() ? QStringLiteral("The page has no document") : error);
    }
    if (document)
        *document = result.value(QStringLiteral("document")).toDouble();
    return result.value(QStringLiteral("value"));
}

int QtWebView::formCount()
{
    return access("return formsOf.call(document).length;", {}).toInt();
}

int QtWebView::formLength(int form)
{
    return access("return lengthOf.call(form(args[0]));", {form}).toInt();
}

QString QtWebView::itemName(int form, int item)
{
    return access("return text(item(args[0], args[1]).name, 'name');", {form, item}).toString();
}

void QtWebView::setItemValue(int form, int item, const QString &value)
{
    access("item(args[0], args[1]).value = args[2]; return null;", {form, item, value});
}

int QtWebView::elementsLength(int form)
{
    return access("return elementsOf.call(form(args[0])).length;", {form}).toInt();
}

QString QtWebView::elementType(int form, int element)
{
    return access("return text(element(args[0], args[1]).type, 'type');", {form, element}).toString();
}

void QtWebView::clickElement(int form, int element)
{
    // A submit control's click starts a navigation that lands while the
    // handler goes on walking the page. The page on the other side of it is
    // not the one the handler walks: hold on to this document until control
    // is back in the event loop, so a later access finds it gone rather than
    // reading, or clicking into, the new page.
    double document = 0;
    access("element(args[0], args[1]).click(); return null;", {form, element}, &document);
    if (m_clickedDocument == 0 && document != 0) {
        m_clickedDocument = document;
        QTimer::singleShot(0, this, &QtWebView::releaseClickedDocument);
    }
}

void QtWebView::releaseClickedDocument()
{
    // Timers also fire inside the event loops of waiting accesses; the
    // handler is over only when none is waiting.
    if (m_accessDepth > 0)
        QTimer::singleShot(10, this, &QtWebView::releaseClickedDocument);
    else
        m_clickedDocument = 0;
}

IWebView *QtWebViewFactory::create(QWidget *parent)
{
    return new QtWebView(parent);
}

} // namespace vidmo
