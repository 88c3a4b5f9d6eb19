// Linked into every test program: the per-user folders where the program keeps backups and
// traces by itself ($XDG_DATA_HOME, $XDG_STATE_HOME) point at a fresh temporary folder for the
// life of the process (and of the tool and simulator processes it starts), so that no test
// writes into the home of whoever runs it. Tests that look at those folders set their own.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct TestHome {
    std::string root;

    TestHome()
    {
        char pattern[] = "/tmp/qm54-test-home-XXXXXX";
        if (mkdtemp(pattern) == nullptr) return;
        root = pattern;
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
    }
    ~TestHome()
    {
        std::error_code ec;
        if (!root.empty()) std::filesystem::remove_all(root, ec);
    }
};

const TestHome gTestHome;

}  // namespace
