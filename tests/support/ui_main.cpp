// The GUI tests run inside one QApplication, on the offscreen platform unless told otherwise, with
// a data folder of their own: what a test deletes goes to a trash there, never to the user's.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_dir.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const daybrook::testing::TempDir data;
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
