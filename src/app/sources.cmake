# app: program block, main window, tool bar, tray, skin engine
list(APPEND VIDMO_CORE_SOURCES app/appcontext.cpp app/appcontext.h app/failure.h
     app/platform.h app/guard.h)
list(APPEND VIDMO_WIDGETS_SOURCES app/programblock.cpp app/programblock.h
     app/tform1.cpp app/tform1.h app/skinbutton.cpp app/skinbutton.h
     app/windowutil.cpp app/windowutil.h app/secondarywindow.h
     app/qtplatform.cpp app/qtplatform.h)
list(APPEND VIDMO_WIDGETS_SOURCES app/skinengine.cpp app/skinengine.h)
list(APPEND VIDMO_WIDGETS_RESOURCES ${PROJECT_SOURCE_DIR}/data/skins/skins.qrc)
list(APPEND VIDMO_PLATFORM_SOURCES app/runprogram.cpp app/runprogram.h)
# tool bar, tray and minimise, pictures
list(APPEND VIDMO_WIDGETS_SOURCES app/toolbaractions.cpp app/toolbaractions.h
     app/trayminimize.cpp app/trayminimize.h app/icons.cpp app/icons.h)
list(APPEND VIDMO_WIDGETS_RESOURCES ${PROJECT_SOURCE_DIR}/data/icons/icons.qrc)
