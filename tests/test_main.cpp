// The main of every test program: the FPU mode of the calculator's programs
// first, so that the tests compute as they do, then every test.
#include <gtest/gtest.h>

#include "number/fpu_control.h"

int main(int argc, char** argv) {
  LoadFpuControlWord();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
