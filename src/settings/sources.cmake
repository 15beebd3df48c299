# settings: INI files, settings loader, language files, settings window, update, timer
list(APPEND VIDMO_CORE_SOURCES settings/inifile.cpp settings/inifile.h settings/httpclient.h)
list(APPEND VIDMO_CORE_SOURCES settings/languages.h settings/sleeptimer.cpp settings/sleeptimer.h
     settings/updater.cpp settings/updater.h)
list(APPEND VIDMO_WIDGETS_SOURCES settings/tsettingform.cpp settings/tsettingform.h
     settings/interfacetexts.cpp settings/interfacetexts.h
     settings/settingsactions.cpp settings/settingsactions.h
     settings/aboutpicture.cpp settings/aboutpicture.h)
list(APPEND VIDMO_PLATFORM_SOURCES settings/networkhttpclient.cpp settings/networkhttpclient.h)
