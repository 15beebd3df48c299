#pragma once

#include "web/webview.h"

#include <QJsonArray>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWebEngineView>

class QWebEngineProfile;
class QWebEnginePage;

namespace vidmo {

// Both kinds of view of the program, over Qt WebEngine.
//
// A view that is not visible does not load: it keeps the address and loads the
// last one when it is first shown, so hidden windows spawn no renderer. The
// page object itself is made by the first real load.
class QtWebView final : public QWebEngineView, public IWebView
{
    Q_OBJECT

public:
    explicit QtWebView(QWidget *parent = nullptr);
    ~QtWebView() override;

    QWidget *widget() override { return this; }
    void load(const QString &address) override;
    QString requestedAddress() const override { return m_requested; }

    int formCount() override;
    int formLength(int form) override;
    QString itemName(int form, int item) override;
    void setItemValue(int form, int item, const QString &value) override;
    int elementsLength(int form) override;
    QString elementType(int form, int element) override;
    void clickElement(int form, int element) override;

    // The address whose load was started last, as given; empty before.
    QString loadedAddress() const { return m_loaded; }
    // The requested address waits for the view to be shown.
    bool hasPendingLoad() const { return m_pending; }
    // Whether the page object exists yet.
    bool hasPage() const { return m_page != nullptr; }
    // How long a page access waits for the page to answer.
    void setAccessTimeout(int ms) { m_accessTimeoutMs = ms; }

    // What an address opens: a local path (leading '/') as a file URL, with
    // trailing blanks and dots dropped from each component; anything else as
    // a web address.
    static QUrl urlFor(const QString &address);

    // The one profile of all views: off the record, nothing is written to disk.
    static QWebEngineProfile *sharedProfile();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWebEnginePage *ensurePage();
    void startLoad(const QString &address);
    // Runs body in the page with `args` bound; see the .cpp for the helpers
    // body may use. Returns what body returns, or throws PageAccessError;
    // `document`, if given, receives the time origin of the document it ran in.
    QVariant access(const char *body, const QJsonArray &args, double *document = nullptr);
    // Ends the hold on the clicked document once no access is waiting.
    void releaseClickedDocument();

    QWebEnginePage *m_page = nullptr;
    QString m_requested;
    QString m_loaded;
    bool m_pending = false;
    int m_accessTimeoutMs = 5000;
    // Accesses now waiting for the page (nested event loops).
    int m_accessDepth = 0;
    // The time origin of the document clicked in the running handler; 0: none.
    // performance.timeOrigin is fixed for a document and differs between the
    // documents a frame shows in turn, and the page cannot change it.
    double m_clickedDocument = 0;
};

class QtWebViewFactory final : public IWebViewFactory
{
public:
    IWebView *create(QWidget *parent) override;
};

} // namespace vidmo
