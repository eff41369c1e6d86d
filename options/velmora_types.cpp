#include "options/velmora_types.h"
