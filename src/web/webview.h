#pragma once

#include "app/failure.h"

#include <QString>

class QWidget;

namespace vidmo {

// A failed access to the loaded page (no document, an index out of range, a
// script error or time-out). Raised in the caller, as a late-bound call would.
class PageAccessError : public Failure
{
public:
    using Failure::Failure;
};

// The document a click was made on during the same handler has since been
// replaced, by the navigation that click started (a submitted form). The
// handler's walk over that document is over: what the view holds now is
// another page, which the walk must not touch.
class PageReplacedError final : public PageAccessError
{
public:
    using PageAccessError::PageAccessError;
};

// One web view. Both kinds of view of the program (the engine view `Chromium1`
// and the browser control `WebBrowser1`) are served by this interface.
//
// The view's widget is a child of the parent given to the factory and is owned
// by it; the IWebView object lives exactly as long as that widget.
class IWebView
{
public:
    virtual ~IWebView() = default;

    virtual QWidget *widget() = 0;

    // Starts loading an absolute local path, a web address or "about:blank".
    // Returns at once; the outcome is not reported. A new address replaces the
    // page; "about:blank" ends whatever the page played.
    virtual void load(const QString &address) = 0;
    virtual void navigate(const QString &address) { load(address); }

    // The address given last to load()/navigate(), as given; empty before.
    virtual QString requestedAddress() const = 0;

    // Page access to the loaded document's forms, counted from 0. Each call
    // reads the current document anew. A failure throws PageAccessError.
    // After clickElement, and until control returns to the event loop, every
    // access must find the document that was clicked: if it has gone, the
    // access throws PageReplacedError instead of reading the new page.
    virtual int formCount() = 0;                                  // forms.Length
    virtual int formLength(int form) = 0;                         // forms[i].Length
    virtual QString itemName(int form, int item) = 0;             // forms[i].Item(j).Name
    virtual void setItemValue(int form, int item, const QString &value) = 0; // .Value = v
    virtual int elementsLength(int form) = 0;                     // forms[i].elements.Length
    virtual QString elementType(int form, int element) = 0;       // elements.item(j).type
    virtual void clickElement(int form, int element) = 0;         // elements.item(j).click()
};

class IWebViewFactory
{
public:
    virtual ~IWebViewFactory() = default;
    // Creates a view whose widget is a child of parent (owned by it).
    virtual IWebView *create(QWidget *parent) = 0;
};

} // namespace vidmo
