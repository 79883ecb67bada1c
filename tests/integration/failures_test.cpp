// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDate>
#include <QDir>
#include <QFile>

#include "convert/fileurl.h"
#include "officefixture.h"

namespace slate::testing {
namespace {

class OfficeFailureTest : public OfficeSuite {
  protected:
    OfficeRef loadHidden(const QString& file) {
        return bridge().loadComponentFromURL(
            desktop(), fileUrlFromPath(file), QStringLiteral("_blank"), 0,
            {MakePropertyValue(bridge(), QStringLiteral("Hidden"), true)});
    }
};

TEST_F(OfficeFailureTest, MissingSourceRaisesOnLoad) {
    const QString description =
        officeErrorOf([&] { loadHidden(path(QStringLiteral("missing.odp"))); });

    EXPECT_TRUE(description.contains(QStringLiteral("missing.odp"))) << description.toStdString();
    // The office's source position is not for users.
    EXPECT_FALSE(description.contains(QStringLiteral(".cxx:"))) << description.toStdString();
}

TEST_F(OfficeFailureTest, CorruptSourceGivesNoDocument) {
    QFile corrupt(path(QStringLiteral("corrupt.odp")));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write(QByteArray("PK\x03\x04 this is not a real package", 36).repeated(40));
    corrupt.close();

    EXPECT_EQ(loadHidden(corrupt.fileName()), nullptr);
}

TEST_F(OfficeFailureTest, SaveUnderARegularFileReportsFailure) {
    const QString source = path(QStringLiteral("deck.odp"));
    makeOdp(bridge(), source, SlideContent::numbered(1));
    QFile blocker(path(QStringLiteral("file.txt")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const DispatchResult result = saveThroughOffice(
        bridge(), source, path(QStringLiteral("file.txt/out.ppt")), kPowerPoint97);

    EXPECT_TRUE(result.known);
    EXPECT_EQ(result.state, DispatchState::Failure);
    EXPECT_FALSE(result.succeeded());
}

TEST_F(OfficeFailureTest, NamesTheOfficeDoesNotKnowAreErrors) {
    const OfficeRef serviceManager = bridge().obtainServiceManager();

    EXPECT_TRUE(officeErrorOf([&] {
                    bridge().createInstance(serviceManager,
                                            QStringLiteral("com.sun.star.frame.NoSuchService"));
                }).contains(QStringLiteral("com.sun.star.frame.NoSuchService")));
    EXPECT_TRUE(officeErrorOf([&] {
                    bridge().bridgeGetStruct(serviceManager,
                                             QStringLiteral("com.sun.star.beans.NamedValue"));
                }).contains(QStringLiteral("com.sun.star.beans.NamedValue")));
    EXPECT_THROW(bridge().obtainServiceManager(QStringLiteral("com.sun.star.NoSuchManager")),
                 OfficeUnavailableError);
}

TEST_F(OfficeFailureTest, PropertyValueStructIsEmptyUntilSet) {
    const PropertyValue value =
        bridge().bridgeGetStruct(bridge().obtainServiceManager(), kPropertyValueType);

    EXPECT_TRUE(value.name.isEmpty());
    EXPECT_FALSE(value.value.isValid());
}

TEST_F(OfficeFailureTest, CallOnAnObjectWithoutThatMethodFails) {
    const OfficeRef desk = desktop();

    // The desktop is no document: it has no current controller of a model.
    EXPECT_TRUE(officeErrorOf([&] {
                    bridge().getCurrentController(desk);
                }).contains(QStringLiteral("getCurrentController")));
    EXPECT_TRUE(officeErrorOf([&] {
                    bridge().close(bridge().obtainServiceManager(), true);
                }).contains(QStringLiteral("Close")));
}

TEST_F(OfficeFailureTest, ValueTheOfficeCannotTakeNamesItsProperty) {
    const QString description = officeErrorOf([&] {
        bridge().loadComponentFromURL(desktop(), QStringLiteral("private:factory/simpress"),
                                      QStringLiteral("_blank"), 0,
                                      {PropertyValue{QStringLiteral("When"), QDate(2021, 8, 31)}});
    });

    EXPECT_TRUE(description.contains(QStringLiteral("\"When\""))) << description.toStdString();
}

TEST_F(OfficeFailureTest, ObjectOfAnotherBridgeIsRejected) {
    const OfficeRef foreign = std::make_shared<OfficeObject>();

    EXPECT_THROW(bridge().createInstance(foreign, kDesktopService), OfficeError);
    EXPECT_THROW(bridge().getFrame(foreign), OfficeError);
}

}  // namespace
}  // namespace slate::testing
