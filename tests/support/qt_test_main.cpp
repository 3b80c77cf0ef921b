// Test main for programs that need a QApplication (widgets, Qt SQL drivers).
//
// Widgets are measured with one font on every machine: DejaVu Sans (fonts-dejavu-core,
// installed by scripts/setup.sh), loaded from its file and set as the application's font,
// with "Tahoma" (the grids' header font, absent from Linux machines) resolved to it too. The
// machine's default sans font would otherwise decide row heights and widths.
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const char* file : {QUERCINO_TEST_FONT_DIR "/DejaVuSans.ttf", QUERCINO_TEST_FONT_DIR "/DejaVuSans-Bold.ttf"}) {
        if (QFontDatabase::addApplicationFont(QString::fromUtf8(file)) < 0) {
            std::fprintf(stderr, "%s: font missing (scripts/setup.sh installs fonts-dejavu-core)\n", file);
            return 1;
        }
    }
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    QApplication::setFont(font);
    if (QFontInfo(QApplication::font()).family() != QLatin1String("DejaVu Sans")) {
        std::fprintf(stderr, "DejaVu Sans not used as the application font\n");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
