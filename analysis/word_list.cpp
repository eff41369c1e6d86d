#include "analysis/word_list.h"
