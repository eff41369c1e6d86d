#include "analysis/keyword_ordering.h"
