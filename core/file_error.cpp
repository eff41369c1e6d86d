#include "core/file_error.h"
