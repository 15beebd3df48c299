# navigation: category pages, closed section, TForm2
list(APPEND VIDMO_CORE_SOURCES navigation/categorypages.cpp navigation/categorypages.h)
list(APPEND VIDMO_CORE_RESOURCES ${PROJECT_SOURCE_DIR}/data/navigation/navigation.qrc)
list(APPEND VIDMO_WIDGETS_SOURCES navigation/tform2.cpp navigation/tform2.h
     navigation/categorynavigator.cpp navigation/categorynavigator.h
     navigation/closedsection.cpp navigation/closedsection.h)
