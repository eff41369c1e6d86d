#include "core/html_functions_read.h"
