#include "app/form1.h"

namespace app {

void Form1::Command2_Click() {}

}  // namespace app
