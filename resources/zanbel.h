// Numbers shared by the resource scripts. The scripts are compiled without
// any system header, so the constants they use are defined here.
#ifndef ZANBEL_RESOURCES_H
#define ZANBEL_RESOURCES_H

#define LANG_DANISH      0x06
#define SUBLANG_DEFAULT  0x01

// Resource types of our own.
#define RT_PALETTE       1003
#define RT_FRAMESET      1004
#define RT_SOUND         1006
#define RT_COMBOTEXTS    1022
#define RT_INVENTION     1023

// Resources with fixed numbers.
#define IDR_DOCUMENT     2
#define SND_SILENCE      1
#define RES_END_MARKER   20000

#endif
