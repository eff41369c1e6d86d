#include "analysis/keyword_tests.h"
