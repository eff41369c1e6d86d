#include "analysis/keyword_choice.h"
