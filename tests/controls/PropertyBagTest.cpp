#include "controls/PropertyBag.h"
#include "controls/SystemColours.h"
#include "support/TestEnv.h"

#include <QGuiApplication>

TEST(PropertyBag, MissingKeysGiveTheReadersDefaultAndStoredKeysTheirValue)
{
    PropertyBag bag;
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("Max"), 100).toInt(), 100);
    bag.WriteProperty(QStringLiteral("Max"), 250, 100);
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("Max"), 100).toInt(), 250);
    // A value equal to its default is kept too: the reader gets what was written.
    bag.WriteProperty(QStringLiteral("Min"), 0, 0);
    EXPECT_TRUE(bag.contains(QStringLiteral("Min")));
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("Min"), 7).toInt(), 0);
    EXPECT_EQ(bag.readLog(), (QStringList{"Max", "Max", "Min"}));
}

TEST(PropertyBag, KeepsTheOrderOfFirstWritesAndTheirDefaults)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Picture"), QVariant(), QVariant());
    bag.WriteProperty(QStringLiteral("Value"), 5, 0);
    bag.WriteProperty(QStringLiteral("Enabled"), false, true);
    bag.WriteProperty(QStringLiteral("Value"), 6, 0);
    EXPECT_EQ(bag.keys(), (QStringList{"Picture", "Value", "Enabled"}));
    EXPECT_EQ(bag.entries().at(1).value.toInt(), 6);
    EXPECT_EQ(bag.entries().at(2).defaultValue.toBool(), true);
    bag.clear();
    EXPECT_TRUE(bag.keys().isEmpty());
    EXPECT_TRUE(bag.readLog().isEmpty());
}

TEST(SystemColours, PlainNumbersAreBlueGreenRed)
{
    EXPECT_EQ(syscolour::toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(syscolour::toQColor(0x36D03), QColor(3, 0x6D, 3));
    EXPECT_EQ(syscolour::toQColor(0xC0C0C0), QColor(192, 192, 192));
    EXPECT_EQ(syscolour::fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    // The high byte of a plain colour is ignored.
    EXPECT_EQ(syscolour::toQColor(0x01FF0000), QColor(0, 0, 255));
}

TEST(SystemColours, TopBitNamesAPaletteRole)
{
    const QPalette pal = QGuiApplication::palette();
    EXPECT_EQ(syscolour::toQColor(syscolour::ButtonFace), pal.color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(syscolour::toQColor(syscolour::ButtonShadow), pal.color(QPalette::Active, QPalette::Dark));
    EXPECT_EQ(syscolour::toQColor(syscolour::ButtonText), pal.color(QPalette::Active, QPalette::ButtonText));
    EXPECT_EQ(syscolour::toQColor(0x80000014), pal.color(QPalette::Active, QPalette::Light));
    EXPECT_EQ(syscolour::toQColor(0x80000005), pal.color(QPalette::Active, QPalette::Base));
    // An index no system colour has falls back to the button face.
    EXPECT_EQ(syscolour::toQColor(0x800000FF), pal.color(QPalette::Active, QPalette::Button));
}

TEST(SystemColours, NumbersFromHostsAndBags)
{
    // A signed 32-bit colour and its unsigned twin are the same colour.
    EXPECT_EQ(syscolour::fromVariant(QVariant(qint32(0x8000000F)), 0), syscolour::ButtonFace);
    EXPECT_EQ(syscolour::fromVariant(QVariant(QStringLiteral("-2147483633")), 0), syscolour::ButtonFace);
    EXPECT_EQ(syscolour::fromVariant(QVariant(QStringLiteral("224515")), 0), 0x36D03u);
    EXPECT_EQ(syscolour::fromVariant(QVariant(QStringLiteral("green")), 0xFF), 0xFFu);
    EXPECT_EQ(syscolour::fromVariant(QVariant(), 0xFF), 0xFFu);
}
