#include "analysis/candidate_keywords.h"
