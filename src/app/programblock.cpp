#include "app/programblock.h"
