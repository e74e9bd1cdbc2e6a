// The Linux facts of the report, from the text of the system's files and from a
// folder standing in for /sys.
#include <gtest/gtest.h>

#include <filesystem>

#include "FilePaths.h"
#include "LinuxFacts.h"
#include "TestData.h"

namespace sysreport::testing {
namespace {

namespace fs = std::filesystem;

TEST(LinuxFacts, OperatingSystemLinesKeepTheWholeReleaseAndTheDistribution) {
    LinuxSystem system{
        "6.18.44-fc-v1272", "#1 SMP PREEMPT_DYNAMIC", "Debian GNU/Linux 12 (bookworm)",
        "x86_64",           "AMD EPYC 7B13",          8};
    const OsVersion os = linuxOsVersion(system);
    EXPECT_EQ(
        os.platform + "version " + os.version + " " + os.servicePack + " (Build: " + os.build + ")",
        "Linux version 6.18.44-fc-v1272 Debian GNU/Linux 12 (bookworm) (Build: 44)");
    EXPECT_EQ(os.classification, "#1 SMP PREEMPT_DYNAMIC");
    EXPECT_EQ(os.processor, "x86_64 (AMD EPYC 7B13)");
    EXPECT_EQ(os.processorCount, 8);

    system.release = "6.1";
    system.kernelBuild.clear();
    system.cpuModel.clear();
    const OsVersion bare = linuxOsVersion(system);
    EXPECT_EQ(bare.build, "0");
    EXPECT_EQ(bare.classification, "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(bare.processor, "x86_64");
}

TEST(LinuxFacts, ProcessorModelFromCpuinfoOfEachArchitecture) {
    const std::pair<const char*, const char*> cases[] = {
        {"processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel name\t: AMD EPYC 7B13 \nflags\t: fpu\n"
         "processor\t: 1\nmodel name\t: AMD EPYC 7B13\n",
         "AMD EPYC 7B13"},
        {"processor\t: 0\nBogoMIPS\t: 108.00\n\nHardware\t: BCM2835\nModel\t\t: Raspberry Pi 4 "
         "Model B Rev 1.4\n",
         "Raspberry Pi 4 Model B Rev 1.4"},
        {"processor\t: 0\ncpu\t\t: POWER9 (architected), altivec supported\n",
         "POWER9 (architected), altivec supported"},
        {"processor\t: 0\nBogoMIPS\t: 50.00\n", ""},
        {"", ""},
    };
    for (const auto& [cpuinfo, model] : cases) {
        EXPECT_EQ(cpuModelName(cpuinfo), model) << cpuinfo;
    }
}

TEST(LinuxFacts, DistributionFromOsRelease) {
    EXPECT_EQ(osReleasePrettyName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                                  "(bookworm)\"\nID=debian\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(osReleasePrettyName("PRETTY_NAME='Alpine Linux v3.19'\n"), "Alpine Linux v3.19");
    EXPECT_EQ(osReleasePrettyName("PRETTY_NAME=Plain\n"), "Plain");
    EXPECT_EQ(osReleasePrettyName("NAME=x\n"), "");
}

constexpr const char* kPciIds =
    "# comment\n"
    "1002  Advanced Micro Devices, Inc. [AMD/ATI]\n"
    "\t1050  Not this one\n"
    "1af4  Red Hat, Inc.\n"
    "\t1041  Virtio network device\n"
    "\t1050  Virtio 1.0 GPU\n"
    "\t\t1af4 1100  QEMU Virtual Machine\n"
    "1b36  Red Hat, Inc.\n";

TEST(LinuxFacts, PciNamesComeFromTheVendorsOwnList) {
    EXPECT_EQ(pciDeviceName(kPciIds, "1AF4", "1050"), "Red Hat, Inc. Virtio 1.0 GPU");
    EXPECT_EQ(pciDeviceName(kPciIds, "1002", "1050"),
              "Advanced Micro Devices, Inc. [AMD/ATI] Not this one");
    EXPECT_EQ(pciDeviceName(kPciIds, "1af4", "1100"), "");
    EXPECT_EQ(pciDeviceName(kPciIds, "1b36", "1050"), "");
    EXPECT_EQ(pciDeviceName("", "1af4", "1050"), "");
}

TEST(LinuxFacts, FirstDisplayAdapterOfTheKernel) {
    const fs::path sys = fs::temp_directory_path() / "kt-sysreport-sys";
    fs::remove_all(sys);
    EXPECT_EQ(drmGraphicsAdapter(sys, kPciIds).name, "");
    // Connectors ("card1-HDMI-A-1") are passed over; the lowest adapter wins.
    for (const char* entry : {"card1/device", "card1-HDMI-A-1", "card2/device", "renderD128"}) {
        fs::create_directories(sys / "class" / "drm" / entry);
    }
    writeBytes(pathToUtf8(sys / "class/drm/card1/device/uevent"),
               "DRIVER=virtio-pci\nPCI_CLASS=30000\nPCI_ID=1AF4:1050\n");
    writeBytes(pathToUtf8(sys / "class/drm/card2/device/uevent"),
               "DRIVER=i915\nPCI_ID=8086:46A6\n");
    GraphicsAdapter adapter = drmGraphicsAdapter(sys, kPciIds);
    EXPECT_EQ(adapter.name, "Red Hat, Inc. Virtio 1.0 GPU");
    EXPECT_EQ(adapter.driver, "virtio-pci");
    adapter = drmGraphicsAdapter(sys, "");
    EXPECT_EQ(adapter.name, "PCI 1af4:1050");
    fs::remove_all(sys);
}

TEST(GraphicsLine, NamesWhatIsKnownAndMarksSoftwareRendering) {
    const struct {
        GraphicsAdapter adapter;
        OpenGlFacts openGl;
        const char* text;
    } cases[] = {
        {{"Red Hat, Inc. Virtio 1.0 GPU", "virtio-pci"},
         {"llvmpipe (LLVM 15.0.6, 256 bits)", "4.5 (Core Profile) Mesa 22.3.6"},
         "Red Hat, Inc. Virtio 1.0 GPU, driver virtio-pci, OpenGL llvmpipe (LLVM 15.0.6, 256 "
         "bits) 4.5 (Core Profile) Mesa 22.3.6 (SOFTWARE RENDERING)"},
        {{"NVIDIA GeForce RTX 4070", ""},
         {"NVIDIA GeForce RTX 4070/PCIe/SSE2", "4.6.0 NVIDIA 550.54"},
         "NVIDIA GeForce RTX 4070, OpenGL NVIDIA GeForce RTX 4070/PCIe/SSE2 4.6.0 NVIDIA 550.54"},
        {{"", "i915"}, {}, "driver i915"},
        {{},
         {"Microsoft Basic Render Driver", ""},
         "OpenGL Microsoft Basic Render Driver (SOFTWARE RENDERING)"},
        {{}, {}, "none could be read"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(graphicsSummary(c.adapter, c.openGl), c.text);
    }
}

}  // namespace
}  // namespace sysreport::testing
