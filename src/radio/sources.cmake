# radio: audio engine, playback, recording, own stations, mini radio
list(APPEND VIDMO_CORE_SOURCES radio/audioengine.h)
