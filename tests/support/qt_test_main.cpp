// Test main for programs that need a QApplication (widgets, Qt SQL drivers): the program's
// own application object, so that events reach the windows as they do in the program.
// Widgets are measured with one font on every machine: DejaVu Sans 9 pt, loaded from the
// files of fonts-dejavu-core (scripts/setup.sh) and set as the application's font, with
// "Tahoma" (the grids' header font, absent from Linux) resolved to it; a missing file fails
// every test.
#include "app/widgets/Applicazione.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quercino::Applicazione app(argc, argv);
    for (const char* file : {QUERCINO_TEST_FONT_DIR "/DejaVuSans.ttf", QUERCINO_TEST_FONT_DIR "/DejaVuSans-Bold.ttf"}) {
        if (QFontDatabase::addApplicationFont(QString::fromUtf8(file)) < 0) {
            std::fprintf(stderr, "%s: font missing (scripts/setup.sh installs fonts-dejavu-core)\n", file);
            return 1;
        }
    }
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
