#include "textcmd/text_presets.h"

namespace quorvane {

// dirN: reader N's direction (1 in, 2 out); doorN: the door reader N opens; delayN: door N's
// opening time in milliseconds.
const std::array<TextPreset, 3> kTextPresets = {{
    {"设置为双门双向-(1357读头开1号门进,2468读头开2号门出)-开门300毫秒-(接闸机)",
     "dir1=1;dir3=1;dir5=1;dir7=1;dir2=2;dir4=2;dir6=2;dir8=2;door1=1;door3=1;door5=1;door7=1;"
     "door2=2;door4=2;door6=2;door8=2;delay1=300;delay2=300;delay3=300;delay4=300;"},
    {"设置为双门双向-(1357读头开1号门进,2468读头开2号门出)-开门3秒-(接门)",
     "dir1=1;dir3=1;dir5=1;dir7=1;dir2=2;dir4=2;dir6=2;dir8=2;door1=1;door3=1;door5=1;door7=1;"
     "door2=2;door4=2;door6=2;door8=2;delay1=3000;delay2=3000;delay3=3000;delay4=3000;"},
    {"设置为四门单向-(15,26,37,48读头分别开1,2,3,4门号,全部为进)-开门3秒",
     "dir1=1;dir2=1;dir3=1;dir4=1;dir5=1;dir6=1;dir7=1;dir8=1;door1=1;door2=2;door3=3;door4=4;"
     "door5=1;door6=2;door7=3;door8=4;delay1=3000;delay2=3000;delay3=3000;delay4=3000;"},
}};

} // namespace quorvane
