# Files of this subsystem
