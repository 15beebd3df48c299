# web: web view layer and the web windows
list(APPEND VIDMO_WIDGETS_SOURCES web/webview.h)
list(APPEND VIDMO_PLATFORM_SOURCES web/qtwebview.h web/qtwebview.cpp)
list(APPEND VIDMO_WIDGETS_SOURCES web/tdonationform.cpp web/tdonationform.h)
list(APPEND VIDMO_WIDGETS_SOURCES web/ttvprogrammform.cpp web/ttvprogrammform.h)
list(APPEND VIDMO_WIDGETS_SOURCES web/tbrowser2form.cpp web/tbrowser2form.h)
list(APPEND VIDMO_WIDGETS_SOURCES web/tkorbinaform.cpp web/tkorbinaform.h)
list(APPEND VIDMO_WIDGETS_SOURCES web/tovegoplayerform.cpp web/tovegoplayerform.h)
list(APPEND VIDMO_WIDGETS_SOURCES web/tnarkomtvform.cpp web/tnarkomtvform.h)
