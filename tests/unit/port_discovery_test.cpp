#include "link/port_discovery.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using qm54::ListComPorts;

// A sysfs tree in a temporary folder, laid out as the kernel shows tty devices:
// class/tty/<name>/device links to the port's device, whose driver link names its driver (a
// usb-serial port's under bus/usb-serial, an interface's under bus/usb, each by the name its kernel
// driver registers); a usb-serial port sits below its USB interface, a CDC ACM port is the
// interface itself, and the USB device above the interface holds the product string.
struct SysfsFixture {
    qm54::test::TempFolder folder{"qm54-sysfs"};
    fs::path root = folder.Path();
    int usbDevices = 0;

    SysfsFixture() { fs::create_directories(root / "class" / "tty"); }

    static void Write(const fs::path& file, const std::string& text) { std::ofstream(file) << text << "\n"; }

    fs::path Tty(const std::string& name)
    {
        fs::path dir = root / "class" / "tty" / name;
        fs::create_directories(dir);
        return dir;
    }
    // A USB device with one interface; returns the interface folder.
    fs::path UsbInterface(const std::string& product, const std::string& interfaceName = "")
    {
        fs::path dev = root / "devices" / "usb1" / ("1-" + std::to_string(++usbDevices));
        fs::path intf = dev / (dev.filename().string() + ":1.0");
        fs::create_directories(intf);
        if (!product.empty()) Write(dev / "product", product);
        if (!interfaceName.empty()) Write(intf / "interface", interfaceName);
        return intf;
    }
    void Driver(const fs::path& device, const std::string& bus, const std::string& driver)
    {
        const fs::path target = root / "bus" / bus / "drivers" / driver;
        fs::create_directories(target);
        fs::create_directory_symlink(target, device / "driver");
    }
    void UsbSerial(const std::string& name, const std::string& driver, const std::string& product,
                   const std::string& interfaceName = "")
    {
        fs::path port = UsbInterface(product, interfaceName) / name;
        fs::create_directories(port);
        Driver(port, "usb-serial", driver);
        fs::create_directory_symlink(port, Tty(name) / "device");
    }
    void Acm(const std::string& name, const std::string& product, const std::string& interfaceName = "")
    {
        fs::path intf = UsbInterface(product, interfaceName);
        Driver(intf, "usb", "cdc_acm");
        fs::create_directory_symlink(intf, Tty(name) / "device");
    }
    void Uart(const std::string& name, const std::string& type)
    {
        fs::path dir = Tty(name);
        if (!type.empty()) Write(dir / "type", type);
    }
};

TEST(ListComPorts, OrdersByKindAndNumberLabelsTheCablesAndLeavesOutWhatIsNoCablePort)
{
    SysfsFixture sys;
    sys.UsbSerial("ttyUSB10", "pl2303", "USB-Serial Controller");
    sys.UsbSerial("ttyUSB2", "ftdi_sio", "LXC-33 Programming Cable");
    sys.UsbSerial("ttyUSB3", "ftdi_sio", "FT232R USB UART");  // a second FTDI adapter: no label
    sys.UsbSerial("ttyUSB0", "cp210x", "CP2102 USB to UART Bridge Controller");
    sys.UsbSerial("ttyUSB4", "pl2303", "LXC-33");              // the label needs the FTDI driver
    sys.UsbSerial("ttyUSB5", "option1", "Mobile Broadband");   // modem drivers
    sys.UsbSerial("ttyUSB9", "sierra", "AirCard");
    sys.UsbSerial("ttyUSB6", "qcserial", "Gobi 2000");
    sys.UsbSerial("ttyUSB8", "ftdi_sio", "Dial-up MODEM");    // modem by its product string
    sys.Acm("ttyACM1", "LXC-31");
    sys.Acm("ttyACM0", "Programming Interface");
    sys.Acm("ttyACM2", "Phone", "CDC Abstract Control Model Modem");  // modem by its interface
    sys.Uart("ttyS10", "4");
    sys.Uart("ttyS1", "0");  // no UART behind it
    sys.Uart("ttyS0", "4");
    sys.Uart("ttyS2", "16");
    sys.Tty("tty0");
    sys.Tty("console");
    sys.Tty("ttyAMA0");

    // malformed names and entries are skipped
    sys.UsbSerial("ttyUSB", "ftdi_sio", "x");
    sys.UsbSerial("ttyUSBx", "ftdi_sio", "x");
    sys.UsbSerial("ttyUSB01", "ftdi_sio", "x");
    sys.UsbSerial("ttyUSB99999999999", "ftdi_sio", "x");
    sys.Tty("ttyUSB7");  // no device link
    fs::create_directory_symlink(sys.root / "nowhere", sys.Tty("ttyACM3") / "device");
    sys.Uart("ttyS3", "");  // no type
    sys.Uart("ttyS4", "four");
    sys.Uart("ttyS5", "-");
    sys.Uart("ttySAC0", "4");

    const std::vector<std::string> expected = {
        "ttyUSB0", "ttyUSB2   (LXC-33)", "ttyUSB3", "ttyUSB4", "ttyUSB10",
        "ttyACM0   (LXC-31)", "ttyACM1   (LXC-31)",
        "ttyS0", "ttyS2", "ttyS10",
    };
    EXPECT_EQ(ListComPorts(sys.root.string()), expected);
}

TEST(ListComPorts, AMissingTreeGivesAnEmptyList)
{
    EXPECT_TRUE(ListComPorts("/nonexistent/qm54-sysfs").empty());
    SysfsFixture sys;
    fs::remove_all(sys.root / "class" / "tty");
    EXPECT_TRUE(ListComPorts(sys.root.string()).empty());
}

TEST(PortNames, EntryAndDevicePath)
{
    EXPECT_EQ(qm54::PortNameOfEntry("ttyACM0   (LXC-31)"), "ttyACM0");
    EXPECT_EQ(qm54::PortNameOfEntry("ttyS0"), "ttyS0");
    EXPECT_EQ(qm54::PortDevicePath("ttyUSB2"), "/dev/ttyUSB2");
    EXPECT_EQ(qm54::PortDevicePath("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(qm54::PortDevicePath(""), "");
}

}  // namespace
