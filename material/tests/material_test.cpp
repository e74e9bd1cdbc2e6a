#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "data/Material.h"
#include "fake_host.h"

namespace material {
namespace {

using testing::FakeHost;

TEST(MaterialTest, PropertyAddressesSlotsByTrimmedCode) {
    clsMaterial m;
    m.setProperty("  DENS");
    EXPECT_EQ(m.Property(), "DENS      ");
    m.setValue(2.5);
    EXPECT_EQ(m.Index(), 13);
    EXPECT_TRUE(m.HasValue(13));
    EXPECT_EQ(m.value(), 2.5);

    m.setProperty("C");
    EXPECT_EQ(m.Property(), "C (Cp)    ");
    EXPECT_EQ(m.Index(), 14);

    m.setProperty("XYZ");
    m.setValue(9.0);
    EXPECT_EQ(m.value(), 0.0);
    EXPECT_EQ(m.PropValue(), "");
    EXPECT_EQ(m.UnitsString(), std::string(16, ' '));
    m.setProperty("");  // an empty code names no slot (slot 69 keeps nothing)
    m.setValue(1.0);
    EXPECT_FALSE(m.HasValue(69));
    EXPECT_FALSE(m.HasValue(-1));
    EXPECT_EQ(clsMaterial::GetNthProperty(118), "");
    EXPECT_EQ(clsMaterial::GetNthProperty(117), "REFTEMP");
}

TEST(MaterialTest, UnitsStringUsesSharedLabelsWithBlankRelaxationSlots) {
    clsMaterial m;
    m.setProperty("EX");
    EXPECT_EQ(m.UnitsString(), "psi             ");
    m.setProperty("G3");
    EXPECT_EQ(m.UnitsString(), std::string(16, ' '));
    EXPECT_EQ(RecordUnitLabels().Mks[77], std::string(16, ' '));
}

TEST(MaterialTest, WriteValueBandsAndRulings) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.28, "280000E-6  "},
        {2e11, "20000E7    "},
        {2.1e11, "21000E7    "},
        {0.3, "300000E-6  "},
        {-3.5, "-35000E-4  "},
        {-1, "-10000E-4  "},  // -1 is in the "E-" band
        {-1.5, "-15000E-4  "},
        {-123456, "-12346E+1  "},
        {-12345, "-12345E+0  "},
        {0, "0E0        "},
        {-0.0, "0E0        "},
        {1, "1000000E-6 "},
        {1e10, "100000E5   "},
        {1e11, "10000E7    "},
        {9999999999.0, "1000000E4  "},  // rounds up and carries into the exponent
        {0.99999995, "100000E-5  "},
        {9999999.5, "1000000E1  "},
        {0.1234565, "123457E-6  "},  // tie rounds away from zero
        {-0.25, "-25000E-5  "},
        {-1.7976931348623157e308, "-17977E+304"},
        {1.7976931348623157e308, "17977E304  "},
        {5e-324, "500000E-329"},
        {-5e-324, "-50000E-328"},
        {6893.5773, "6893577E-3 "},
    };
    for (const Case& c : cases) {
        const std::string text = clsMaterial::WriteValue(c.value);
        EXPECT_EQ(text, c.text) << c.value;
        EXPECT_EQ(text.size(), 11u) << c.value;
    }
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(clsMaterial::WriteValue(inf), "17977E304  ");
    EXPECT_EQ(clsMaterial::WriteValue(-inf), "-17977E+304");
}

TEST(MaterialTest, ChangeUnitsMovesEveryAddressableValue) {
    clsMaterial m;
    m.CopyProperty("EX", 6893.5773);
    m.CopyProperty("NUXY", 0.3);
    m.CopyProperty("REFTEMP", 100);
    m.setHasValue(70, true);           // a slot without a code cannot be addressed
    m.ChangeUnits("SI", "IPS", true);  // empty system counts as SI
    EXPECT_EQ(m.UnitSystem(), "IPS");
    m.setProperty("EX");
    EXPECT_EQ(m.value(), 1.0);
    m.setProperty("NUXY");
    EXPECT_EQ(m.value(), 0.3);
    m.setProperty("REFTEMP");
    EXPECT_NEAR(m.value(), 180, 1e-12);

    m.GoToIPS("IPS");  // same system: nothing
    m.setProperty("EX");
    EXPECT_EQ(m.value(), 1.0);
    m.ChangeUnits("IPS", "KELVIN", false);
    EXPECT_EQ(m.value(), 1.0);
    EXPECT_EQ(m.UnitSystem(), "KELVIN");

    clsMaterial fresh;
    fresh.CopyProperty("EX", 5.0);
    fresh.ChangeUnits("IPS", "SI", true);  // from its own (empty = SI) system
    fresh.setProperty("EX");
    EXPECT_EQ(fresh.value(), 5.0);
    EXPECT_EQ(fresh.UnitSystem(), "SI");
}

TEST(MaterialTest, ResetClearValueAndCopies) {
    clsMaterial a;
    a.setMaterialType("Steel    ");
    a.setMaterialName("A36  ");
    a.setMaterialNameCode("A36");
    a.setMaterialDescription("plate");
    a.CopyProperty("EX", 2e11);
    a.CopyProperty("DENS", 7850);

    clsMaterial b;
    b.CopyProperty("NUXY", 0.3);
    b.CopyAllProperties(a);
    EXPECT_EQ(b.MaterialType(), "Steel    ");
    EXPECT_EQ(b.MaterialNameCode(), "A36");
    EXPECT_FALSE(b.HasValue(4));
    EXPECT_TRUE(b.HasValue(0));
    b.setProperty("DENS");
    EXPECT_EQ(b.value(), 7850);

    a.reset();
    a.setProperty("EX");
    EXPECT_TRUE(a.HasValue(0));
    EXPECT_EQ(a.value(), 0.0);
    a.ClearValue();
    EXPECT_FALSE(a.HasValue(0));
    a.ClearAll();
    EXPECT_FALSE(a.HasValue(13));
}

TEST(MaterialTest, SaveWritesFixedColumns) {
    clsMaterial m;
    m.setMaterialName("Steel");
    m.setMaterialDescription("Plain carbon");
    std::string out;
    m.Save(out);
    EXPECT_EQ(out,
              "MATL:Steel        : Steel                         :Plain carbon\r\n"
              "ENDMATL\r\n");
    EXPECT_EQ(m.MaterialNameCode(), "Steel        ");  // the filled-in code stays

    clsMaterial longName;
    longName.setMaterialName("A rather long material name");
    longName.CopyProperty("FRCANG", 30);
    out.clear();
    longName.Save(out);
    EXPECT_EQ(out.substr(0, 20), "MATL:A rather long: ");
    const std::string line = out.substr(out.find("\r\n") + 2, 97);
    EXPECT_EQ(line.substr(0, 10), "FRCANG    ");
    EXPECT_EQ(line.substr(50, 17), "Degrees          ");
    EXPECT_EQ(line.substr(70, 11), "3000000E-5 ");
}

TEST(MaterialTest, SaveTrimsNameSoTheColonStaysInColumn51) {
    for (const std::string& name : {std::string(29, 'n') + "  ", std::string(30, 'n') + "  "}) {
        clsMaterial m;
        m.setMaterialName(name);
        m.setMaterialNameCode("X");
        m.setMaterialDescription("d");
        std::string out;
        m.Save(out);
        EXPECT_EQ(out[50], ':') << name.size();
        EXPECT_EQ(out.substr(51, 1), "d");
    }
}

TEST(MaterialTest, PropertyLinesPerKindOfLabel) {
    // One hand-checked line per kind of label, compared column by column.
    struct Case {
        const char* code;
        double si;
        const char* line;
    };
    const Case cases[] = {
        {"EX", 2e11,
         "EX        2901251E1  psi               2039432E0  Kgf/cm^2            20000E7    N/m^2   "
         "        "},
        {"NUXY", 0.28,
         "NUXY      280000E-6                    280000E-6                      280000E-6          "
         "        "},
        {"ALPX", 1.2e-5,
         "ALPX      666667E-11 /Fahrenheit       120000E-10 /Centigrade         120000E-10 /Kelvin "
         "        "},
        {"DENS", 7850,
         "DENS      283599E-6  lb/in^3           785000E-8  kg/cm^3             7850000E-3 Kgm/m^3 "
         "        "},
        {"C", 460,
         "C (Cp)    109890E-6  BTU/(lb.F)        1099426E-4 Cal/(Kg.C)          4600000E-4 J/kgm.K "
         "        "},
        {"KX", 50,
         "KX        668738E-9  BTU/in/s/F        119503E-6  Cal/(cm.s.C)        5000000E-5 W/(m.K) "
         "        "},
        {"FRCANG", 30,
         "FRCANG    3000000E-5 Degrees           3000000E-5 Degrees             3000000E-5 Degrees "
         "        "},
        {"REFTEMP", 300,
         "REFTEMP   5400000E-4 Fahrenheit        3000000E-4 Centigrade          3000000E-4 Kelvin  "
         "        "},
        {"G1", 1e6,
         "G1        1450626E-4                   1019716E-5                     1000000E0          "
         "        "},
    };
    for (const Case& c : cases) {
        clsMaterial m;
        m.setMaterialNameCode("CODE");
        m.CopyProperty(c.code, c.si);
        std::string out;
        m.Save(out);
        const std::size_t start = out.find("\r\n") + 2;
        const std::string line = out.substr(start, out.find("\r\n", start) - start);
        ASSERT_EQ(line.size(), 97u) << c.code;
        EXPECT_EQ(line, c.line) << c.code;
    }
}

TEST(MaterialTest, MapStoresGridEntryInSelectedMaterialInSi) {
    std::vector<clsMaterial> list(3);
    FakeHost host;
    host.materials = &list;
    clsMaterial window(&host);
    host.selected = MaterialHost::TreeNode{"Steel    A36  0002", false};
    host.unitListPosition = 0;  // IPS on screen
    host.typeListPosition = 0;
    window.Map(1, " 1 ");  // EX
    list[2].setProperty("EX");
    EXPECT_EQ(list[2].value(), 6893.5773);
    EXPECT_FALSE(list[0].HasValue(0));

    host.typeListPosition = 2;  // anisotropic: row 22 and beyond is the density
    host.unitListPosition = 1;
    window.Map(23, "7850");
    list[2].setProperty("DENS");
    EXPECT_EQ(list[2].value(), 7850);

    host.typeListPosition = 9;  // EX is no row of Mooney Rivlin, but its value stays
    window.Map(1, "0.49");
    EXPECT_TRUE(list[2].HasValue(0));
    EXPECT_TRUE(list[2].HasValue(4));

    for (const char* bad : {"", "abc", "1E999", "1,5"}) {
        list[2].CopyProperty("NUXY", 0.3);
        window.Map(1, bad);
        EXPECT_FALSE(list[2].HasValue(4)) << bad;
    }

    host.typeListPosition = 0;
    window.Map(11, "5");  // beyond the type's rows: nothing
    host.selected = MaterialHost::TreeNode{"Steel    ", true};
    window.Map(1, "5");
    host.selected = MaterialHost::TreeNode{"Empty    ", false};  // empty category node
    EXPECT_EQ(window.CurrentMaterial(), -1);
    window.Map(1, "5");
    host.selected.reset();
    window.Map(1, "5");
    for (const clsMaterial& m : list) {
        EXPECT_FALSE(m.HasValue(0) && &m != &list[2]);
    }
}

TEST(MaterialTest, PropValueShowsWindowSystem) {
    FakeHost host;
    host.unitSystem = "IPS";
    clsMaterial m(&host);
    EXPECT_EQ(m.UnitSystem(), "IPS");
    m.CopyProperty("EX", 6893.5773);
    EXPECT_EQ(m.PropValue(), "1000000E-6 ");
    host.unitSystem = "SI";
    EXPECT_EQ(m.PropValue(), "6893577E-3 ");
}

}  // namespace
}  // namespace material
