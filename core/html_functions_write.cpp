#include "core/html_functions_write.h"
