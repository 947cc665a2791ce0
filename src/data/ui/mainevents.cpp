#include "data/ui/mainevents.h"
