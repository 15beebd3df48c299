# navigation: files of this subsystem
list(APPEND VIDMO_WIDGETS_SOURCES navigation/tform2.cpp navigation/tform2.h)
