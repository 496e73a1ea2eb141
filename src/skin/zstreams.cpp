#include "skin/zstreams.h"
namespace dorvanel::skin {
}
