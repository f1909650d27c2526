#include "utilities/logic/Mensajes.h"
