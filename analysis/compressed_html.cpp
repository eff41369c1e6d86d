#include "analysis/compressed_html.h"
