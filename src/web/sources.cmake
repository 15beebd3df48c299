# web: web view layer and the web windows
list(APPEND VIDMO_WIDGETS_SOURCES web/webview.h)
list(APPEND VIDMO_PLATFORM_SOURCES web/qtwebview.cpp)
