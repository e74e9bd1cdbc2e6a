#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "units/PanelTables.h"
#include "units/SlotTable.h"
#include "units/UnitConversion.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

TEST(SlotTableTest, CodesDescriptionsAndGroups) {
    const SlotTable& t = Slots();
    struct Case {
        int slot;
        const char* code;
        const char* description;
    };
    const Case cases[] = {
        {0, "EX", "Elasticity modulus (1st dir)"},
        {3, "ETAN", "Tangent modulus"},
        {14, "C (Cp)", "Specific Heat"},
        {22, "FRCANG", "Friction angle"},
        {23, "ALPH1", "First Power Coeff."},
        {30, "MU4", "Fourth constant"},
        {36, "MOONEY_F", "Sixth Material constant"},
        {37, "G1", "Shear Relaxation modulus"},
        {52, "K8", "Bulk Relaxation"},
        {53, "TAUG1", "Time values (Shear Relaxation modulus)"},
        {68, "TAUK8", "Time values"},
        {69, "", ""},
        {77, "VC1", "First constant for Williams-Landel-Ferry eq."},
        {78, "VC2", "Second constant for Williams-Landel-Ferry eq."},
        {79, "MC11", "Material Matrix (1:1)"},
        {88, "MC25", "Material Matrix (2:5)"},
        {99, "MC66", "Material Matrix (6:6)"},
        {100, "", ""},
        {117, "REFTEMP", "Glassy transition temperature"},
        {118, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.SlotCode[c.slot], c.code) << c.slot;
        EXPECT_EQ(t.SlotDescription[c.slot], c.description) << c.slot;
    }
    EXPECT_EQ(t.AlphSlots[0], 23);
    EXPECT_EQ(t.AlphSlots[4], 0);  // the spare last entry is never assigned
    EXPECT_EQ(t.TauSlots[0], 69);
    EXPECT_EQ(t.TauSlots[8], 0);
    EXPECT_EQ(t.VcSlots[1], 78);
    EXPECT_EQ(t.McSlots[21], 100);
    EXPECT_EQ(t.McPaddedCodes[0], "MC11       ");
    EXPECT_EQ(t.McPaddedCodes[9], "MC25       ");
    EXPECT_EQ(t.McPaddedCodes[10], "MC26      ");
    EXPECT_EQ(t.McPaddedCodes[20], "MC66      ");
}

TEST(SlotTableTest, FindSlotByCodeTrimsAndIgnoresEmptyCodes) {
    EXPECT_EQ(FindSlotByCode("  DENS "), 13);
    EXPECT_EQ(FindSlotByCode("C (Cp)    "), 14);
    EXPECT_EQ(FindSlotByCode("dens"), kNoSlot);  // codes are case-sensitive
    EXPECT_EQ(FindSlotByCode(""), kNoSlot);
    EXPECT_EQ(FindSlotByCode("   "), kNoSlot);
}

TEST(SlotTableTest, UnitLabelsAreFixedWidth) {
    const UnitLabelTable& l = SlotUnitLabels();
    EXPECT_EQ(l.Ips[0], "psi             ");
    EXPECT_EQ(l.Mks[0], "Kgf/cm^2         ");
    EXPECT_EQ(l.Si[13], "Kgm/m^3         ");
    EXPECT_EQ(l.Mks[14], "Cal/(Kg.C)       ");
    EXPECT_EQ(l.Mks[22], "Degrees         ");  // 16 wide, like the blank label
    EXPECT_EQ(l.Mks[4], std::string(16, ' '));
    EXPECT_EQ(l.Ips[117], "Fahrenheit      ");
    EXPECT_EQ(l.Ips[37], "");  // relaxation slots get their blank label from the record
    for (int s : {0, 10, 13, 14, 19, 31, 27}) {
        EXPECT_EQ(l.Ips[s].size(), 16u) << s;
        EXPECT_EQ(l.Si[s].size(), 16u) << s;
        EXPECT_EQ(l.Mks[s].size(), 17u) << s;
    }
}

TEST(UnitConversionTest, FactorTables) {
    clsUnitConversion c;
    EXPECT_EQ(c.SiPerIps()[0], 6893.5773);
    EXPECT_EQ(c.MksPerIps()[0], 6893.5773 / 98066.5);
    EXPECT_EQ(c.MksPerIps()[14], 4186.0 / 4.184);
    EXPECT_EQ(c.MksPerIps()[13], 27679.9 / 1000000);
    EXPECT_EQ(c.SiPerIps()[20], 74767.752);
    EXPECT_EQ(c.SiPerIps()[117], 1 / 1.8);
    EXPECT_EQ(c.SiPerIps()[118], 0.0);
    // Stress-like slots: moduli, strengths, cohesion, hyperelastic and relaxation moduli.
    for (int s : {1, 3, 7, 9, 15, 17, 18, 27, 30, 31, 36, 37, 44, 45, 52}) {
        EXPECT_EQ(c.SiPerIps()[s], 6893.5773) << s;
        EXPECT_EQ(c.MksPerIps()[s], c.MksPerIps()[0]) << s;
    }
    // Dimensionless slots: ratios, power coefficients, times, WLF, matrix, angle.
    for (int s : {4, 6, 22, 23, 53, 68, 69, 77, 79, 100, 116}) {
        EXPECT_EQ(c.SiPerIps()[s], 1.0) << s;
        EXPECT_EQ(c.MksPerIps()[s], 1.0) << s;
    }
}

TEST(UnitConversionTest, ChangeUnits) {
    clsUnitConversion c;
    EXPECT_EQ(c.ChangeUnits("SI", "SI", 0, 2.0e11), 2.0e11);
    EXPECT_EQ(c.ChangeUnits("IPS", "SI", 0, 1), 6893.5773);
    EXPECT_EQ(c.ChangeUnits("SI", "IPS", 0, 6893.5773), 1);
    EXPECT_NEAR(c.ChangeUnits("IPS", "MKS", 117, 180), 100, 1e-12);
    EXPECT_NEAR(c.ChangeUnits("IPS", "SI", 117, 180), 100, 1e-12);
    EXPECT_EQ(c.ChangeUnits("IPS", "SI", -1, 5), 5);
    // SI to MKS divides first and multiplies second, never by one combined factor.
    const double v = 2.07e11;
    EXPECT_EQ(c.ChangeUnits("SI", "MKS", 0, v), (v / 6893.5773) * (6893.5773 / 98066.5));
    EXPECT_NEAR(c.ChangeUnits("SI", "MKS", 0, v), v / 98066.5, 1e-3);
    const double mks = 2.1e6;
    EXPECT_EQ(c.ChangeUnits("MKS", "SI", 13, mks), (mks / (27679.9 / 1000000)) * 27679.9);
    // Unknown systems and non-converting slots leave the value alone.
    for (const char* unit : {"MKS(G)", "si", ""}) {
        EXPECT_EQ(c.ChangeUnits(unit, "SI", 0, 7.5), 7.5) << unit;
        EXPECT_EQ(c.ChangeUnits("SI", unit, 0, 7.5), 7.5) << unit;
    }
    for (int s : {4, 80, 53, 61, 22}) {
        for (const char* from : {"IPS", "SI", "MKS"}) {
            for (const char* to : {"IPS", "SI", "MKS"}) {
                EXPECT_EQ(c.ChangeUnits(from, to, s, 0.3), 0.3) << s << from << to;
            }
        }
    }
    EXPECT_EQ(c.ChangeUnits("SI", "IPS", 118, 4.0), 4.0);  // no division by its 0.0
}

TEST(UnitSystemsTest, UnitListPositions) {
    EXPECT_EQ(UnitSystemAtPosition(2), "MKS");
    EXPECT_EQ(kUnitListTexts[2], "MKS(G)");
    EXPECT_EQ(UnitSystemAtPosition(3), "");
    EXPECT_EQ(UnitSystemAtPosition(-1), "");
}

TEST(PanelTablesTest, LabelsAndFactors) {
    EXPECT_EQ(PanelUnitLabels()[4].Si, "Kg/m^3          ");
    EXPECT_EQ(PanelUnitLabels()[1].Mks, std::string(17, ' '));
    EXPECT_EQ(PanelUnitLabels()[10].Ips, "");
    EXPECT_EQ(PanelSiPerIps()[0], 6894.757293);
    EXPECT_EQ(PanelMksPerIps()[9], 0.07030721906817959);
    EXPECT_EQ(PanelMksPerIps()[6], 10632.43999851425 / 4.184);
    EXPECT_EQ(PanelSiPerIps()[12], 0.0);
    EXPECT_EQ(PanelFactor("SI", "SI", 0), 1.0);
    EXPECT_EQ(PanelFactor("IPS", "MKS", 4), 10686893.36 / 980665000);
    EXPECT_EQ(PanelFactor("SI", "MKS", 0), (1 / 6894.757293) * (6894.757293 / 98066.5));
    EXPECT_EQ(PanelFactor("MKS", "IPS", 9), 1 / 0.07030721906817959);
    EXPECT_EQ(PanelFactor("MKS(G)", "SI", 0), 1.0);
}

}  // namespace
}  // namespace material
