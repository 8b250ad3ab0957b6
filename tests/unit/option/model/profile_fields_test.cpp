#include "option/model/dialogs/profile_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace option {
namespace {

class ProfileFieldsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings::FillDefaultProfile(*profile_, 1, settings::DefaultsFor::Option);
        std::strcpy(profile_->GameFile, "C:\\Games\\game.exe");
    }
    std::unique_ptr<settings::ProfileRecord> profile_ = std::make_unique<settings::ProfileRecord>();
};

TEST_F(ProfileFieldsTest, StartsFromTheRecordOrEmpty) {
    const ProfileFields filled = ProfileFieldsOf(*profile_, false);
    EXPECT_EQ(filled.name, "Default2");
    EXPECT_EQ(filled.gameFile, "C:\\Games\\game.exe");
    const ProfileFields empty = ProfileFieldsOf(*profile_, true);
    EXPECT_EQ(empty.name, "");
    EXPECT_EQ(empty.gameFile, "");
    // A record whose field lacks its NUL is read only to the field's end.
    std::memset(profile_->GameFile, 'g', sizeof profile_->GameFile);
    EXPECT_EQ(ProfileFieldsOf(*profile_, false).gameFile.size(), sizeof profile_->GameFile);
}

TEST_F(ProfileFieldsTest, NamesAreCutToTheirLimitAndLongPathsRefused) {
    ASSERT_TRUE(StoreProfileFields(*profile_, {std::string(30, 'n'), "D:\\b.exe"}));
    EXPECT_EQ(std::string(profile_->ProFileName), std::string(kMaxProfileNameChars, 'n'));
    EXPECT_EQ(std::string(profile_->GameFile), "D:\\b.exe");
    EXPECT_EQ(profile_->GameFile[sizeof "D:\\b.exe"], '\0');  // the old, longer path is gone

    const std::string longest(kMaxGameFileChars, 'p');
    ASSERT_TRUE(StoreProfileFields(*profile_, {"x", longest}));
    EXPECT_EQ(std::string(profile_->GameFile), longest);

    const auto before = std::make_unique<settings::ProfileRecord>(*profile_);
    EXPECT_FALSE(StoreProfileFields(*profile_, {"y", longest + "p"}));
    EXPECT_EQ(std::memcmp(before.get(), profile_.get(), sizeof *profile_), 0);

    ASSERT_TRUE(StoreProfileFields(*profile_, {"", ""}));
    EXPECT_EQ(profile_->ProFileName[0], '\0');
    EXPECT_EQ(profile_->GameFile[0], '\0');
}

}  // namespace
}  // namespace option
