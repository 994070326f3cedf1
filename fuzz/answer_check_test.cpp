// The fuzz checks must pass every answer form the calculator gives and catch
// the broken ones; a check that passes everything would make the fuzzing
// worthless, one that is too strict would bury it in false reports.
#include "fuzz/answer_check.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

struct Case {
  std::string_view line;
  std::string_view answer;
};

TEST(AnswerCheck, PassesEveryFormOfAnswer) {
  const Case cases[] = {
      {"", ""},
      {"   ", ""},
      {"2+3*4", "2+3*4 = 14"},
      {"1/3", "1/3 = 0 , 333333"},
      {"-1/3", "-1/3 = -0 , 333333"},
      {"1234567*1000", "1234567*1000 = 1 234 567 000"},
      {"-1234*1", "-1234*1 = -1 234"},
      {"1E300*1E300", "1E300*1E300 = 9 , 999999 E+998"},
      {"1E10*1E10", "1E10*1E10 = 1 E+20"},
      {"1.2.3", "1.2.3 = 1 , 2.3"},
      {"1E5.5E3", "1E5.5E3 = 100 000 , 5E3 E5.5E3"},
      {"5.", "5. = 5 , "},
      {"E", "E = 0 E"},
      {"\t", "Erreur de syntaxe"},
      {"2)+(3", "Erreur de syntaxe"},
      {"=", "Erreur de syntaxe"},
      {"1 = 1", "Erreur de syntaxe"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnswerFault(c.line, c.answer), "") << c.line << " -> " << c.answer;
  }
}

TEST(AnswerCheck, CatchesBrokenAnswers) {
  const Case cases[] = {
      {"  ", "  = 0"},                         // blank line answered
      {"1", ""},                               // line not answered
      {"1+1", "Erreur de syntaxe "},           // error text not exact
      {"1+1", "erreur de syntaxe"},            //
      {"1=1", "1=1 = 1"},                      // "=" accepted
      {"1+1", "1+1 =2"},                       // separator
      {"1+1", "1+2 = 2"},                      // line not echoed
      {"1+1", "1+1 = "},                       // no value
      {"1+1", "1+1 = 2\n"},                    // trailing byte
      {"1000*1", "1000*1 = 1000"},             // not grouped
      {"1000*1", "1000*1 = 1,000"},            // grouped with a comma
      {"1000*1", "1000*1 = 1 00"},             // short group
      {"1*1", "1*1 = 01"},                     // leading zero
      {"-1*1", "-1*1 = --1"},                  // doubled sign
      {"1/3", "1/3 = 0 , 3333333"},            // seven decimals
      {"1/3", "1/3 = 0,333333"},               // comma without blanks
      {"1/3", "1/3 = 0 , 33x"},                // foreign character
      {"1E300*1E300", "1E300*1E300 = 1 Ex"},   //
      {"1E300*1E300", "1E300*1E300 = 1 E 5"},  // blank in the exponent
  };
  for (const Case& c : cases) {
    EXPECT_NE(AnswerFault(c.line, c.answer), "") << c.line << " -> " << c.answer;
  }
}

}  // namespace
