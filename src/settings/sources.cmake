# settings: INI files, settings loader, language files, settings window, update, timer
list(APPEND VIDMO_CORE_SOURCES settings/inifile.cpp settings/inifile.h settings/httpclient.h)
