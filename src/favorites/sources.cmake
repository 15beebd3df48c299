# favorites: files of this subsystem
list(APPEND VIDMO_WIDGETS_SOURCES favorites/tfavoriteform.cpp favorites/tfavoriteform.h)
