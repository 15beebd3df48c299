# catalogue: files of this subsystem
