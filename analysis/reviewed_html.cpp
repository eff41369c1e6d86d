#include "analysis/reviewed_html.h"
