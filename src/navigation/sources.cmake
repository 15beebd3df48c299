# navigation: files of this subsystem
