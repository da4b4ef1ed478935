#include "engine/kinds.h"

namespace {

constexpr cKindInfo kKinds[kKindCount] = {
    {1, "Pend"_tc, "cPendulum", "Pendul", 1000, 1000, 1000},
    {2, "Drop"_tc, "cDropChamber", "Tyngdekraftkammeret", 1001, 1001, 1001},
    {3, "Cano"_tc, "cPhysicsCanon", "Kanon", 1002, 1002, 1002},
    {4, "Wtch"_tc, "cStopWatch", "Stopur", 1004, 1004, 1004},
    {5, "Ttlr"_tc, "cTotaler", "Resultatmaskine", 1005, 1005, 2001},
    {6, "Coin"_tc, "cCoinToss", "Møntkast", 1006, 1006, 2006},
    {7, "rand"_tc, "cRandomNumberGenerator", "Taltumbler", 1007, 1007, 1007},
    {8, "Fork"_tc, "cTuningFork", "Stemmegaffel", 1008, 1008, 1008},
    {9, "DClk"_tc, "cDigitalClock", "Ur", 1009, 1009, 1009},
    {10, "Key_"_tc, "cKey", "Tast", 1010, 1010, 1010},
    {11, "Metr"_tc, "cMetronome", "Metronom", 1011, 1011, 1011},
    {12, "swit"_tc, "cSwitch", "Strømafbryder", 1012, 1012, 1012},
    {13, "disp"_tc, "cDisplay", "Lille talvindue", 1013, 1013, 2002},
    {14, "di10"_tc, "cDisplay10", "Stort talvindue", 1014, 1014, 1014},
    {15, "Sldr"_tc, "cSlider", "Talvælger", 1015, 1015, 1015},
    {16, "bulb"_tc, "cLightBulb", "Glødelampe", 1016, 1016, 1016},
    {17, "hart"_tc, "cHeart", "Hjerte", 1017, 1017, 1017},
    {18, "rgbd"_tc, "cRGBDisplay", "Farveblander", 1018, 1018, 1018},
    {19, "Spl2"_tc, "cSplitter2", "Tovejsforgrener", 1019, 1033, 2022},
    {20, "Spl3"_tc, "cSplitter3", "Trevejsforgrener", 1019, 1034, 2023},
    {21, "Spl4"_tc, "cSplitter4", "Firevejsforgrener", 1019, 1035, 2024},
    {22, "Addr"_tc, "cAdder", "Additionstegn", 1020, 1020, 2016},
    {23, "Subr"_tc, "cSubtracter", "Subtraktionstegn", 1020, 1020, 2017},
    {24, "Mulr"_tc, "cMultiplier", "Multiplikationstegn", 1020, 1020, 2018},
    {25, "Divr"_tc, "cDivider", "Divisionstegn", 1020, 1020, 2019},
    {26, "cnst"_tc, "cConstant", "Trecifret tal", 1021, 1021, 2004},
    {27, "Plnt"_tc, "cPlanet", "Solsystem", 1022, 1022, 2000},
    {28, "1ncr"_tc, "cOneNumberCruncher", "Regnefunktioner", 1024, 1024, 2005},
    {29, "ArVo"_tc, "cAreaVolume", "Areal/rumfang", 1025, 1024, 2003},
    {30, "Conv"_tc, "cConversion", "Omregner", 1026, 1026, 2020},
    {31, "NmKP"_tc, "cNumericKeyPad", "Taltastatur", 1027, 1027, 2007},
    {32, "Comp"_tc, "cComparison", "Sammenligner", 1028, 1028, 2021},
    {33, "AndG"_tc, "cAndGate", "Og-port", 1029, 1029, 2008},
    {34, "OrGa"_tc, "cOrGate", "Eller-port", 1030, 1030, 2009},
    {35, "XorG"_tc, "cXorGate", "X eller-port", 1031, 1031, 2011},
    {36, "NotG"_tc, "cNotGate", "Ikke-port", 1032, 1032, 2010},
    {37, "Mplx"_tc, "cMultiplexer", "Skiftespor", 1036, 1036, 2025},
    {38, "Tape"_tc, "cTapePlayer", "Båndoptager", 1037, 1037, 2026},
    {39, "Spkr"_tc, "cSpeaker", "Højttaler", 1038, 1038, 2042},
    {40, "MsMv"_tc, "cMouseMove", "Afstandsmåler til mus", 1039, 1039, 2029},
    {41, "MsCl"_tc, "cMouseClick", "Musens knap", 1040, 1040, 2032},
    {42, "Cntr"_tc, "cCounter", "Tæller", 1041, 1041, 2033},
    {43, "AnSd"_tc, "cAnimalSound", "Dyrelyde", 1042, 1042, 2040},
    {44, "MsSd"_tc, "cMiscSound", "Forskellige lyde", 1043, 1043, 2041},
    {45, "SdTr"_tc, "cSoundTransformer", "Lydomformer", 1044, 1044, 2038},
    {46, "SdSw"_tc, "cSoundSwitch", "Lydafbryder", 1045, 1045, 2037},
    {47, "TxLn"_tc, "cTextLine", "Tekstvindue", 1046, 1046, 2028},
    {48, "TxBx"_tc, "cTextBox", "Opslagstavle", 1047, 1047, 2027},
    {49, "DnPl"_tc, "cDynamitePlunger", "Detonator", 1048, 1048, 2030},
    {50, "StCh"_tc, "cStripChart", "Diagram", 1049, 1049, 2044},
    {51, "GrPr"_tc, "cGraphicProjector", "Skærm", 1050, 1050, 2035},
    {52, "Stop"_tc, "cStopper", "Dommer", 1051, 1051, 2043},
    {53, "Stk1"_tc, "cSticker1", "Klistermærke", 1052, 0, 2034},
    {54, "Stk2"_tc, "cSticker2", "Klistermærke", 1053, 0, 2034},
    {55, "Stk3"_tc, "cSticker3", "Klistermærke", 1054, 0, 2034},
    {56, "Stk4"_tc, "cSticker4", "Klistermærke", 1055, 0, 2034},
    {57, "Stk5"_tc, "cSticker5", "Klistermærke", 1056, 0, 2034},
    {58, "Stk6"_tc, "cSticker6", "Klistermærke", 1057, 0, 2034},
    {59, "Stk7"_tc, "cSticker7", "Klistermærke", 1058, 0, 2034},
    {60, "Stk8"_tc, "cSticker8", "Klistermærke", 1059, 0, 2034},
    {61, "Stk9"_tc, "cSticker9", "Klistermærke", 1060, 0, 2034},
    {62, "St10"_tc, "cSticker10", "Klistermærke", 1061, 0, 2034},
    {63, "MiCo"_tc, "cMiniConstant", "Konstant", 1063, 1063, 2046},
    {64, "TxLb"_tc, "cTextLabel", "Etiket", 0, 0, 2045},
};

constexpr int8_t B = kPageBreak;
constexpr int8_t kDrawer1[] = {16, 18, 50, 51, B, 13, 14};
constexpr int8_t kDrawer2[] = {9, 4, 11};
constexpr int8_t kDrawer3[] = {46, 43, 44, 39, B, 8, 38, 45};
constexpr int8_t kDrawer4[] = {31, 26, 42, 63, 15, B, 22, 23, 24, 25, B, 6, 7, 5, 32, B,
                               28, 29, 30, B, 33, 34, 35, 36};
constexpr int8_t kDrawer5[] = {12, 10, 41, 40, 49, B, 37, 19, 20, 21};
constexpr int8_t kDrawer6[] = {64, 47, 48, B, 53, 54, 55, 56, B, 57, 58, 59, B, 60, 61, 62};
constexpr int8_t kDrawer7[] = {52, 1, 2, 3, B, 17, 27};

constexpr std::span<const int8_t> kDrawers[kDrawerCount] = {kDrawer1, kDrawer2, kDrawer3, kDrawer4,
                                                            kDrawer5, kDrawer6, kDrawer7};

}  // namespace

std::span<const cKindInfo> kindTable() { return kKinds; }

const cKindInfo* kindByCode(cTypeCode code) {
  for (const cKindInfo& k : kKinds)
    if (k.typeCode == code) return &k;
  return nullptr;
}

const cKindInfo* kindByNumber(int number) {
  if (number < 1 || number > kKindCount) return nullptr;
  return &kKinds[number - 1];
}

std::span<const int8_t> drawerKinds(int drawer) {
  if (drawer < 0 || drawer >= kDrawerCount) return {};
  return kDrawers[drawer];
}
