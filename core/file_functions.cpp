#include "core/file_functions.h"
