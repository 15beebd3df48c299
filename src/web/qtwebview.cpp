// Qt WebEngine behind IWebView.
