#include "options/kel_registry.h"
