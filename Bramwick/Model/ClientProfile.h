#pragma once
// The applicant's personal data (profile.json) and its nested records. Plain values:
// every text is UTF-8 and empty when unknown; dates are "YYYY-MM-DD", months "YYYY-MM".
#include <string>
#include <vector>

// A fresh random UUID as 36 upper-case hexadecimal characters in groups 8-4-4-4-12.
std::string newUUIDText();

struct Name {
    std::string family;
    std::string given;
    bool operator==(const Name &) const = default;
};

struct Address {
    std::string poBox;
    std::string apt;
    std::string streetNo;
    std::string street;
    std::string city;
    std::string province;
    std::string postalCode;
    std::string country;
    bool operator==(const Address &) const = default;
};

struct Residence {
    std::string country;
    std::string status;
    std::string from;
    std::string to;
    bool operator==(const Residence &) const = default;
};

struct Passport {
    std::string number;
    std::string country;
    std::string issued;
    std::string expires;
    bool operator==(const Passport &) const = default;
};

struct IDDoc {
    std::string number;
    std::string country;
    std::string issued;
    std::string expires;
    bool operator==(const IDDoc &) const = default;
};

struct USDoc {
    std::string number;
    std::string expires;
    bool operator==(const USDoc &) const = default;
};

struct EducationEntry {
    std::string id = newUUIDText();
    std::string field;
    std::string school;
    std::string city;
    std::string country;
    std::string province;
    std::string from;
    std::string to;
    bool operator==(const EducationEntry &) const = default;
};

struct EmploymentEntry {
    std::string id = newUUIDText();
    std::string occupation;
    std::string employer;
    std::string city;
    std::string country;
    std::string from;
    bool operator==(const EmploymentEntry &) const = default;
};

struct Background {
    bool usedOtherName = false;
    bool livedOtherCountry = false;
    bool previouslyMarried = false;
    bool languageTestTaken = false;
    bool hasNationalID = false;
    bool hasUSPRCard = false;
    bool hasEducation = false;
    bool currentlyEmployed = true;
    bool military = false;
    bool govPosition = false;
    bool criminal = false;
    bool medicalCondition = false;
    bool refusedVisa = false;
    bool overstayed = false;
    bool previouslyApplied = false;
    bool operator==(const Background &) const = default;
};

struct ClientProfile {
    std::string id = newUUIDText();
    std::string displayName;
    Name name;
    Name aliasName;
    std::string nameNative;
    std::string uci;
    std::string sex;
    std::string dob;
    std::string birthCity;
    std::string birthCountry;
    std::string citizenship;
    Passport passport;
    IDDoc nationalID;
    USDoc usCard;
    Residence residence;
    bool sameAsCOR = true;
    Address mailing;
    Address residential;
    bool residentialSameAsMailing = true;
    std::string email;
    std::string maritalStatus;
    Name spouseName;
    std::string dateOfMarriage;
    std::string nativeLanguage;
    std::string ableToCommunicate;
    std::string serviceLanguage;
    std::vector<EmploymentEntry> employment;
    std::vector<EducationEntry> education;
    Background background;
    bool operator==(const ClientProfile &) const = default;
};

// Today's date moved by `days`, then by `years`, as "YYYY-MM-DD" (Gregorian). A zero amount skips
// its step. The overload with a start date serves tests; `today` is "YYYY-MM-DD".
std::string relativeDateText(int days, int years);
std::string relativeDateText(int days, int years, const std::string &today);
