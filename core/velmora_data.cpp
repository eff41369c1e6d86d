#include "core/velmora_data.h"
