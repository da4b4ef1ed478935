#include "shell/core/profile.h"

#include <gtest/gtest.h>

TEST(ProfileTest, ReadsAsTheProfileFunctionsDo) {
  const cProfile p(
      "; a comment line\r\n"
      "[Zanbel]\r\n"
      "  ZanbelHome = /home/kim/opfindelser  \r\n"
      "Quoted=\"  spaced  \"\r\n"
      "Single='x'\r\n"
      "Half=\"x\r\n"
      "Fit=2\r\n"
      "fit=1\r\n"
      "Bare\r\n"
      "[general]\n"
      "WaveOutDevice=-1\n"
      "[ZANBEL]\n"
      "Later=1\n");
  struct Case { const char* section; const char* key; const char* value; };
  const Case cases[] = {
      {"Zanbel", "ZanbelHome", "/home/kim/opfindelser"},  // trimmed on both sides
      {"zanbel", "ZANBELHOME", "/home/kim/opfindelser"},  // no case in names
      {"Zanbel", "Quoted", "  spaced  "},                 // quotes removed, inside kept
      {"Zanbel", "Single", "x"},
      {"Zanbel", "Half", "\"x"},                          // unmatched quote stays
      {"Zanbel", "Fit", "2"},                             // the first match wins
      {"Zanbel", "Bare", ""},
      {"GENERAL", "WaveOutDevice", "-1"},
  };
  for (const Case& c : cases) {
    auto v = p.get(c.section, c.key);
    ASSERT_TRUE(v.has_value()) << c.key;
    EXPECT_EQ(*v, c.value) << c.key;
  }
  // Only the first section of a name counts.
  EXPECT_FALSE(p.get("Zanbel", "Later").has_value());
  EXPECT_FALSE(p.get("Zanbel", "WaveOutDevice").has_value());
  EXPECT_FALSE(p.get("missing", "Fit").has_value());
  EXPECT_FALSE(p.get("Zanbel", "; a comment line").has_value());
}

TEST(ProfileTest, EditingKeepsTheRestOfTheFile) {
  cProfile p("; mine\n[Zanbel]\nFIT=0\nDone=abc\n\n[general]\nShowDevices=1\n");
  p.set("zanbel", "Fit", "2");             // replaced in place, spelling of the key kept
  p.set("Zanbel", "Load", "/tmp/a.wgt");   // new key at the end of its section
  p.set("Sounds", "x", "1");               // new section at the end
  EXPECT_EQ(p.text(),
            "; mine\n[Zanbel]\nFIT=2\nDone=abc\nLoad=/tmp/a.wgt\n\n[general]\nShowDevices=1\n"
            "\n[Sounds]\nx=1\n");
  EXPECT_TRUE(p.remove("ZANBEL", "done"));
  EXPECT_FALSE(p.remove("Zanbel", "done"));
  EXPECT_TRUE(p.removeSection("general"));
  EXPECT_EQ(p.text(), "; mine\n[Zanbel]\nFIT=2\nLoad=/tmp/a.wgt\n\n[Sounds]\nx=1\n");
}

TEST(ProfileTest, AValueCannotAddLines) {
  cProfile p;
  p.set("Zanbel", "Load", "a\n[Zanbel]\r\nNoSoundPlease=1");
  EXPECT_EQ(p.lineCount(), 2u);
  EXPECT_FALSE(p.get("Zanbel", "NoSoundPlease").has_value());
  EXPECT_EQ(*p.get("Zanbel", "Load"), "a [Zanbel]  NoSoundPlease=1");
}
