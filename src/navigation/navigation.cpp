#include "app/form1.h"

namespace app {

void Form1::Drive1_Change() {}
void Form1::Dir1_Change() {}
void Form1::Dir1_MouseUp(int, int, float, float) {}
void Form1::Text1_KeyUp(int, int) {}
void Form1::Command1_Click() {}
void Form1::Text3_Change() {}

}  // namespace app
