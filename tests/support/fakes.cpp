#include "fakes.h"

namespace vidmo::test {

namespace {
PageAccessError accessError(const QString &what)
{
    return PageAccessError(QStringLiteral("Page access failed: ") + what);
}
} // namespace

void FakeWebView::checkDocument() const
{
    if (m_replaced)
        throw PageReplacedError(QStringLiteral("replaced by the submitted form's answer"));
}

int FakeWebView::formCount()
{
    checkDocument();
    if (noDocument)
        throw accessError(QStringLiteral("no document"));
    return int(forms.size());
}

FakeControl &FakeWebView::control(int form, int item)
{
    checkDocument();
    if (noDocument || form < 0 || form >= forms.size())
        throw accessError(QStringLiteral("form %1").arg(form));
    auto &controls = forms[form].controls;
    if (item < 0 || item >= controls.size() || controls[item].failOnAccess)
        throw accessError(QStringLiteral("item %1 of form %2").arg(item).arg(form));
    return controls[item];
}

int FakeWebView::formLength(int form)
{
    checkDocument();
    if (noDocument || form < 0 || form >= forms.size())
        throw accessError(QStringLiteral("form %1").arg(form));
    return int(forms[form].controls.size());
}

QString FakeWebView::itemName(int form, int item) { return control(form, item).name; }

void FakeWebView::setItemValue(int form, int item, const QString &value)
{
    control(form, item).value = value;
}

int FakeWebView::elementsLength(int form) { return formLength(form); }

QString FakeWebView::elementType(int form, int element) { return control(form, element).type; }

void FakeWebView::clickElement(int form, int element)
{
    FakeControl &clicked = control(form, element);
    ++clicked.clicks;
    m_replaced = clicked.replacesPage;
}

FakeWebView *FakeWebViewFactory::find(const QString &objectName, const QWidget *window) const
{
    for (auto *v : views) {
        if (v->objectName() == objectName && (!window || v->window() == window))
            return v;
    }
    return nullptr;
}

HttpReply FakeHttpClient::get(const QString &url)
{
    requested << url;
    m_busy = true;
    HttpReply reply;
    auto it = replies.constFind(url);
    if (it != replies.constEnd())
        reply = *it;
    else
        reply.error = QStringLiteral("Connection refused");
    if (progress) {
        progress->workBegin(reply.body.size());
        progress->work(reply.body.size());
        progress->workEnd();
    }
    m_busy = false;
    return reply;
}

} // namespace vidmo::test
