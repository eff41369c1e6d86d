#include "analysis/file_check_list.h"
