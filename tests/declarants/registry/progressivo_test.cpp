// The progressive of the next file: reading, five-digit form, the raise, the value
// stored on save, and the refusal of a file numbered past 99999.

#include "declarants/registry/Progressivo.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

TEST(Progressivo, NessunFileOltre99999)
{
    // File 99999 may be written; the number after it names no file.
    EXPECT_TRUE(ControllaProgressivo("99999").isEmpty());
    EXPECT_EQ(ProgressivoSuccessivo("99999").valore, "100000");
    const QString errore = ControllaProgressivo("100000");
    EXPECT_TRUE(errore.contains("99999"));
    const EsitoProgressivo esito = ProgressivoSuccessivo("100000");
    EXPECT_FALSE(esito.Valido());
    EXPECT_TRUE(esito.valore.isEmpty());
    EXPECT_EQ(esito.errore, errore);
    EXPECT_FALSE(ProgressivoSuccessivo("4294967296").Valido());
    EXPECT_FALSE(ControllaProgressivo("0").isEmpty());
    EXPECT_FALSE(ControllaProgressivo("").isEmpty());
    EXPECT_TRUE(ControllaProgressivo("00001").isEmpty());
}

TEST(Progressivo, TestiNonNumericiSonoRifiutati)
{
    for (const char* testo : {"", "   ", "ABC", "12A", "-3", "+5", "1,5", "1.5", "1 2",
                              "9999999999"}) {
        SCOPED_TRACE(testo);
        EXPECT_FALSE(ProgressivoSuccessivo(testo).Valido());
        EXPECT_FALSE(ProgressivoDaSalvare(testo).Valido());
        EXPECT_FALSE(LeggiProgressivo(testo).has_value());
    }
}

TEST(Progressivo, AlSalvataggioZeroDiventaUno)
{
    EXPECT_EQ(ProgressivoDaSalvare("0").valore, "00001");
    EXPECT_EQ(ProgressivoDaSalvare("00000").valore, "00001");
    EXPECT_EQ(ProgressivoDaSalvare("7").valore, "00007");
    EXPECT_EQ(ProgressivoDaSalvare("99999").valore, "99999");
    EXPECT_EQ(ProgressivoDaSalvare("40000").valore, "40000");
    // Past the last file the number is kept, so the declarant can still be saved.
    EXPECT_EQ(ProgressivoDaSalvare("100000").valore, "100000");
}

TEST(Progressivo, LetturaEFormato)
{
    EXPECT_EQ(LeggiProgressivo("00042"), 42);
    EXPECT_EQ(LeggiProgressivo("0000000000099999"), 99999);
    EXPECT_EQ(FormattaProgressivo(1), "00001");
    EXPECT_EQ(FormattaProgressivo(99999), "99999");
}

} // namespace
} // namespace quercino
