# favorites: files of this subsystem
