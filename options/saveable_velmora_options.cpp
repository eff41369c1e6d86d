#include "options/saveable_velmora_options.h"
