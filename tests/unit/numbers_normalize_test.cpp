#include "numbers/dialling_codes.h"
#include "numbers/number_lengths.h"
#include "numbers/number_normalizer.h"

#include <gtest/gtest.h>

#include <random>

using namespace pagelark;

namespace {

std::string Normalized(std::string_view number, std::string_view landCode = "+49") {
    return NormalizedNumber(number, BuiltInCheckList(), landCode);
}

}  // namespace

TEST(NumbersIsNumberText, AllowedCharacters) {
    EXPECT_TRUE(IsNumberText(""));
    EXPECT_TRUE(IsNumberText("+49 (171) 123-45"));
    EXPECT_FALSE(IsNumberText("0171/1234567"));
    EXPECT_FALSE(IsNumberText("anna"));
    EXPECT_FALSE(IsNumberText("0171.123"));
}

TEST(NumbersNormalize, NationalAndInternationalSpellingsOfOneNumber) {
    EXPECT_EQ(Normalized("0171 1234567"), "+491711234567");
    EXPECT_EQ(Normalized("0049 171 1234567"), "+491711234567");
    EXPECT_EQ(Normalized("+49 (0)171 1234567"), "+491711234567");
    EXPECT_EQ(Normalized("171-1234567"), "+491711234567");
    EXPECT_EQ(Normalized("0171/123.45.67"), "+491711234567");
}

TEST(NumbersNormalize, ForeignNumbers) {
    EXPECT_EQ(Normalized("0043 664 1234567"), "+436641234567");
    EXPECT_EQ(Normalized("+44 (0)20 7946 0000"), "+442079460000");
    // +1345 matches the row of code 1: only a zero right after the 1 would go.
    EXPECT_EQ(Normalized("+1345 0123 4567"), "+134501234567");
    EXPECT_EQ(Normalized("+1 0345 123 4567"), "+13451234567");
}

TEST(NumbersNormalize, OnlyOneZeroAndOtherEdges) {
    EXPECT_EQ(Normalized(""), "");
    EXPECT_EQ(Normalized("abc"), "+49");   // no digits: the user's code alone
    EXPECT_EQ(Normalized("00171 1234567"), "+1711234567");   // two zeros: taken for international
    EXPECT_EQ(Normalized("0171 1234567", "++49"), "+491711234567");
    EXPECT_EQ(Normalized("0171 1234567", ""), "+1711234567");
    // An unknown code after "+" is taken for a national number of the user's country.
    EXPECT_EQ(Normalized("+28 123"), "+4928123");
    EXPECT_EQ(Normalized("+0171 1234567"), "+491711234567");
    // A plus sign inside stays where it stands.
    EXPECT_EQ(Normalized("+49 171+1"), "+49171+1");
}

TEST(NumbersNormalize, UserCodeMissingFromTheCheckListIsNotAddedTwice) {
    const CountryList check = ParseCodeFile("Austria;43\r\n");
    std::string number = "0171 1234567";
    NormalizeNumber(number, check, "+49");
    EXPECT_EQ(number, "+491711234567");
    NormalizeNumber(number, check, "+49");
    EXPECT_EQ(number, "+491711234567");
}

TEST(NumbersNormalize, FirstCheckRowWinsEvenWhenShorter) {
    const CountryList check = ParseCodeFile("Four;4\r\nAustria;43\r\nGermany;49\r\n");
    EXPECT_EQ(NormalizedNumber("+43 0664 123", check, "+49"), "+430664123");   // row "4": the zero is not after it
    EXPECT_EQ(NormalizedNumber("+4 0123", check, "+49"), "+4123");
}

// Property: whatever the spelling, a normalised number is digits after one "+", and normalising
// it again changes nothing.
TEST(NumbersNormalize, NormalisingTwiceChangesNothing) {
    std::mt19937 random(4711);
    const std::vector<std::string> prefixes = {"0", "0049 ", "+49 ", "+49 (0)", "0043 ", "+44 (0)", "", "+1 ", "0033-"};
    const std::vector<std::string> separators = {"", " ", "-", "/", ".", "(", ")"};
    for (int round = 0; round < 2000; ++round) {
        std::string number = prefixes[random() % prefixes.size()];
        const int length = 3 + static_cast<int>(random() % 9);
        for (int i = 0; i < length; ++i) {
            // National numbers never start with their trunk zero twice.
            number.push_back(static_cast<char>('0' + (i == 0 ? 1 + random() % 9 : random() % 10)));
            if (random() % 4 == 0) number += separators[random() % separators.size()];
        }
        const std::string once = Normalized(number);
        ASSERT_EQ(once.find_first_not_of("+0123456789"), std::string::npos) << number;
        ASSERT_EQ(once.rfind('+'), 0u) << number;
        EXPECT_EQ(Normalized(once), once) << number;
    }
}

TEST(NumbersAccountNumber, SpellingsOfOneGermanNumber) {
    const CountryList& countries = BuiltInCountryList();
    for (const char* typed : {"0049 170 1234567", "+49 170 1234567", "49 170 1234567", "0170/1234567", "1701234567"})
        EXPECT_EQ(NormalizeAccountNumber(typed, countries, "Germany (+49)"), "1701234567") << typed;
}

TEST(NumbersAccountNumber, Edges) {
    const CountryList& countries = BuiltInCountryList();
    // An unknown code keeps its digits and loses the "+".
    EXPECT_EQ(NormalizeAccountNumber("+999 12345", countries, "Germany (+49)"), "99912345");
    EXPECT_EQ(NormalizeAccountNumber("", countries, "Germany (+49)"), "");
    EXPECT_EQ(NormalizeAccountNumber("49 170 1234567", countries, ""), "491701234567");
    EXPECT_EQ(NormalizeAccountNumber("0043 664 1234567", countries, "Germany (+49)"), "6641234567");
    // The code comes from the last brackets, not from brackets inside the name.
    EXPECT_EQ(NormalizeAccountNumber("596 696 123456", countries, "French West Indies (Martinique) (+596)"),
              "696123456");
    EXPECT_EQ(CodeOfCountryEntry("French West Indies (Martinique) (+596)"), "596");
    EXPECT_EQ(CodeOfCountryEntry("Germany ( ++49)"), "49");
    EXPECT_EQ(CodeOfCountryEntry("Germany"), "");
}

// A code typed in front without "+" goes only when the rest is a possible national number of the
// country and the whole text is not; whatever comes out stays as it is when normalised again.
TEST(NumbersAccountNumber, TypedCodeOnlyInFrontOfAPossibleNationalNumber) {
    // Rows as the shipped country files have them (alphabetical: Cayman Islands before the US).
    const CountryList countries = {{"Austria", "43"},       {"Cayman Islands", "1345"}, {"Germany", "49"},
                                   {"India", "91"},         {"Italy", "39"},            {"United States", "1"}};
    struct Case {
        const char* entry;
        const char* typed;
        const char* national;
    };
    const Case cases[] = {
        {"Germany (+49)", "49 170 1234567", "1701234567"},
        {"Germany (+49)", "0170 1234567", "1701234567"},
        {"Germany (+49)", "4915112345678", "15112345678"},
        {"Italy (+39)", "393 1234567", "3931234567"},            // a mobile beginning with 39
        {"Italy (+39)", "39 393 1234567", "3931234567"},
        {"Italy (+39)", "+39 393 1234567", "3931234567"},
        {"India (+91)", "9123456789", "9123456789"},             // a mobile beginning with 91
        {"India (+91)", "91 9123456789", "9123456789"},
        {"India (+91)", "0091 9123456789", "9123456789"},
        {"Austria (+43)", "0664 1234567", "6641234567"},
        {"Austria (+43)", "0043 664 1234567", "6641234567"},
        // Austrian mobile numbers run from 7 to 13 digits, so both readings are possible: the
        // digits stay as typed and the verification page shows the user what was understood.
        {"Austria (+43)", "43 664 1234567", "436641234567"},
        {"Cayman Islands (+1345)", "1345 9161234", "9161234"},
        {"Cayman Islands (+1345)", "9161234", "9161234"},
        {"United States (+1)", "1 212 555 0123", "2125550123"},
        {"United States (+1)", "2125550123", "2125550123"},
    };
    for (const Case& c : cases) {
        const std::string once = NormalizeAccountNumber(c.typed, countries, c.entry);
        EXPECT_EQ(once, c.national) << c.entry << " " << c.typed;
        EXPECT_EQ(NormalizeAccountNumber(once, countries, c.entry), once) << c.entry << " " << c.typed;
    }
}

TEST(NumbersAccountNumber, LengthsComeFromTheMetadata) {
    EXPECT_TRUE(IsPossibleLength(PossibleNationalLengths("49"), 10));
    EXPECT_FALSE(IsPossibleLength(PossibleNationalLengths("49"), 12));
    EXPECT_TRUE(IsPossibleLength(PossibleNationalLengths("1345"), 7));
    EXPECT_EQ(PossibleNationalLengths("999"), 0u);
    EXPECT_FALSE(IsPossibleLength(~0u, 40));
}
