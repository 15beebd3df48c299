# catalogue: files of this subsystem
list(APPEND VIDMO_CORE_SOURCES catalogue/channelentry.h catalogue/catalogue.h
     catalogue/catalogue.cpp)
list(APPEND VIDMO_CORE_RESOURCES ${PROJECT_SOURCE_DIR}/data/catalogue/catalogue.qrc)
list(APPEND VIDMO_WIDGETS_SOURCES catalogue/dispatcher.cpp catalogue/dispatcher.h)
