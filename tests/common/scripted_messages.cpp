#include "common/scripted_messages.h"
