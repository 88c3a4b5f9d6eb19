// Linked into every test program: the per-user folders where the program keeps backups and
// traces by itself ($XDG_DATA_HOME, $XDG_STATE_HOME) point at a fresh temporary folder for the
// life of the process (and of the tool and simulator processes it starts), so that no test
// writes into the home of whoever runs it. Tests that look at those folders set their own.
#include "temp_folder.h"

#include <cstdlib>

namespace {

struct TestHome {
    qm54::test::TempFolder root{"qm54-test-home"};

    TestHome()
    {
        if (root.Path().empty()) return;
        setenv("XDG_DATA_HOME", root.File("data").c_str(), 1);
        setenv("XDG_STATE_HOME", root.File("state").c_str(), 1);
    }
};

const TestHome gTestHome;

}  // namespace
