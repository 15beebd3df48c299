# favorites: the favourites store, its window and the window's own table
list(APPEND VIDMO_CORE_SOURCES favorites/favoritevalue.cpp favorites/favoritevalue.h)
list(APPEND VIDMO_WIDGETS_SOURCES favorites/tfavoriteform.cpp favorites/tfavoriteform.h
     favorites/favoritestore.cpp favorites/favoritestore.h
     favorites/favoritedispatch.cpp favorites/favoritedispatch.h)
