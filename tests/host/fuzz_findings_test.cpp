// Answers the fuzz harnesses found the program mishandling, each as a machine
// and the text expected; the inputs stay in tests/fuzz/corpus.
#include <gtest/gtest.h>

#include "os/os.h"
#include "sim_fixture.h"

class FuzzFindingsTest : public SimTest {};

// A user name that fills the whole buffer and comes without its NUL: the
// line shows what the buffer holds, and nothing that lies after it.
TEST_F(FuzzFindingsTest, UserNameFillingTheBufferWithoutNul) {
  machine().unterminated_texts = true;
  machine().user_name = std::string(300, 'u');
  std::string out = sim::run([] { report_os(); return 0; }).out;
  EXPECT_NE(std::string::npos, out.find("\nCurrent User:\t\t" + std::string(255, 'u') + "\n")) << out;
}
