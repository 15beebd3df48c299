# radio: audio engine, playback, recording, own stations, mini radio
list(APPEND VIDMO_CORE_SOURCES radio/audioengine.h)
list(APPEND VIDMO_WIDGETS_SOURCES radio/tradiosaveform.cpp radio/tradiosaveform.h)
list(APPEND VIDMO_WIDGETS_SOURCES radio/tradioform.cpp radio/tradioform.h)
list(APPEND VIDMO_WIDGETS_SOURCES radio/tmyradioform.cpp radio/tmyradioform.h)
list(APPEND VIDMO_CORE_SOURCES radio/playlist.cpp radio/playlist.h radio/mpegaudio.cpp radio/mpegaudio.h radio/commandline.cpp radio/commandline.h)
list(APPEND VIDMO_PLATFORM_SOURCES radio/gstaudioengine.cpp radio/gstaudioengine.h)
list(APPEND VIDMO_CORE_SOURCES radio/recordingcommand.cpp radio/recordingcommand.h)
list(APPEND VIDMO_WIDGETS_SOURCES radio/radiopanel.cpp radio/radiopanel.h)
