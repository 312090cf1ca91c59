// Filling a form: a realistic fill of the real IMM 5257 beside the qpdf floor.
#include <cstdio>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "floor.h"
#include "lib/fill.h"

namespace {

const std::string kImm5257 = std::string(BW_FORMS_DIR) + "/imm5257e.pdf";

// What the fill screen sends for a visitor with a passport, an address, two schools and a job.
nlohmann::json visitor_data() {
    return nlohmann::json::parse(R"({"fields": {
        "form1.Page1.PersonalDetails.UCIClientID": "",
        "form1.Page1.PersonalDetails.ServiceIn.ServiceIn": "01",
        "form1.Page1.PersonalDetails.VisaType.VisaType": "VisitorVisa",
        "form1.Page1.PersonalDetails.Name.FamilyName": "Wang",
        "form1.Page1.PersonalDetails.Name.GivenName": "Xiao Ming",
        "form1.Page1.PersonalDetails.AliasName.AliasNameIndicator.AliasNameIndicator": "N",
        "form1.Page1.PersonalDetails.Sex.Sex": "M Male",
        "form1.Page1.PersonalDetails.DOBYear": "1988",
        "form1.Page1.PersonalDetails.DOBMonth": "04",
        "form1.Page1.PersonalDetails.DOBDay": "21",
        "form1.Page1.PersonalDetails.PlaceBirthCity": "Shanghai",
        "form1.Page1.PersonalDetails.PlaceBirthCountry": "202",
        "form1.Page1.PersonalDetails.Citizenship.Citizenship": "202",
        "form1.Page1.PersonalDetails.CurrentCOR.Row2.Country": "202",
        "form1.Page1.PersonalDetails.CurrentCOR.Row2.Status": "01",
        "form1.Page1.PersonalDetails.PCRIndicator": "N",
        "form1.Page1.PersonalDetails.SameAsCORIndicator": "Y",
        "form1.Page1.MaritalStatus.SectionA.MaritalStatus": "01",
        "form1.Page1.MaritalStatus.SectionA.MarriageDate.FromYr": "2015",
        "form1.Page1.MaritalStatus.SectionA.MarriageDate.FromMM": "10",
        "form1.Page1.MaritalStatus.SectionA.MarriageDate.FromDD": "01",
        "form1.Page1.MaritalStatus.SectionA.FamilyName": "Li",
        "form1.Page1.MaritalStatus.SectionA.GivenName": "Hua",
        "form1.Page2.MaritalStatus.SectionA.PrevMarriedIndicator": "N",
        "form1.Page2.MaritalStatus.SectionA.Passport.PassportNum.PassportNum": "E12345678",
        "form1.Page2.MaritalStatus.SectionA.Passport.CountryofIssue.CountryofIssue": "202",
        "form1.Page2.MaritalStatus.SectionA.Passport.IssueYYYY": "2019",
        "form1.Page2.MaritalStatus.SectionA.Passport.IssueMM": "05",
        "form1.Page2.MaritalStatus.SectionA.Passport.IssueDD": "10",
        "form1.Page2.MaritalStatus.SectionA.Passport.expiryYYYY": "2029",
        "form1.Page2.MaritalStatus.SectionA.Passport.expiryMM": "05",
        "form1.Page2.MaritalStatus.SectionA.Passport.expiryDD": "09",
        "form1.Page2.MaritalStatus.SectionA.Languages.languages.nativeLang.nativeLang": "Mandarin",
        "form1.Page2.MaritalStatus.SectionA.Languages.languages.ableToCommunicate.ableToCommunicate": "English",
        "form1.Page2.natID.q1.natIDIndicator": "Y",
        "form1.Page2.natID.natIDdocs.DocNum.DocNum": "310101198804210011",
        "form1.Page2.USCard.q1.usCardIndicator": "N",
        "form1.Page2.ContactInformation.contact.AddressRow1.StreetNum.StreetNum": "100",
        "form1.Page2.ContactInformation.contact.AddressRow1.Streetname.Streetname": "Century Avenue",
        "form1.Page2.ContactInformation.contact.AddressRow2.CityTow.CityTown": "Shanghai",
        "form1.Page2.ContactInformation.contact.AddressRow2.Country.Country": "202",
        "form1.Page2.ContactInformation.contact.AddressRow2.PostalCode.PostalCode": "200120",
        "form1.Page2.ContactInformation.contact.SameAsMailingIndicator": "Y",
        "form1.Page2.ContactInformation.contact.PhoneNumbers.Phone.Type": "02",
        "form1.Page2.ContactInformation.contact.PhoneNumbers.Phone.Other": "1",
        "form1.Page2.ContactInformation.contact.PhoneNumbers.Phone.NumberCountry": "86",
        "form1.Page2.ContactInformation.contact.PhoneNumbers.Phone.ActualNumber": "13800138000",
        "form1.Page2.ContactInformation.contact.FaxEmail.Email": "wang.xm@example.com",
        "form1.Page3.DetailsOfVisit.PurposeRow1.PurposeOfVisit.PurposeOfVisit": "01",
        "form1.Page3.DetailsOfVisit.PurposeRow1.HowLongStay.StayDates.FromYr": "2026",
        "form1.Page3.DetailsOfVisit.PurposeRow1.HowLongStay.StayDates.FromMM": "07",
        "form1.Page3.DetailsOfVisit.PurposeRow1.HowLongStay.StayDates.FromDD": "01",
        "form1.Page3.DetailsOfVisit.PurposeRow1.HowLongStay.StayDates.ToYr": "2026",
        "form1.Page3.DetailsOfVisit.PurposeRow1.HowLongStay.StayDates.ToMM": "07",
        "form1.Page3.DetailsOfVisit.PurposeRow1.HowLongStay.StayDates.ToDD": "21",
        "form1.Page3.DetailsOfVisit.PurposeRow1.Funds.Funds": "8000",
        "form1.Page3.DetailsOfVisit.Contacts_Row1.Name.Name": "Chen Jie",
        "form1.Page3.DetailsOfVisit.Contacts_Row1.RelationshipToMe.RelationshipToMe": "Friend",
        "form1.Page3.DetailsOfVisit.Contacts_Row1.AddressInCanada.AddressInCanada": "1 Main St, Vancouver BC",
        "form1.Page3.Education.EducationIndicator": "Y",
        "form1.Page3.Occupation.OccupationRow1.Occupation.Occupation": "Engineer",
        "form1.Page3.Occupation.OccupationRow1.Employer": "Acme Shanghai",
        "form1.Page3.BackgroundInfo.Choice[0]": "N",
        "form1.Page3.BackgroundInfo.Choice[1]": "N",
        "form1.Page3.BackgroundInfo2.VisaChoice1": "N",
        "form1.Page3.BackgroundInfo2.VisaChoice2": "N",
        "form1.Page3.PageWrapper.BackgroundInfo3.Choice": "N",
        "form1.Page3.PageWrapper.Military.Choice": "N",
        "form1.Page3.PageWrapper.Occupation.Choice": "N",
        "form1.Page3.PageWrapper.GovPosition.Choice": "N"
      },
      "lists": {"form1.Page3.Education.Edu_Row1": [
        {"FromYear": "2006", "FromMonth": "09", "ToYear": "2010", "ToMonth": "07",
         "FieldOfStudy": "Computer Science", "School": "Fudan University", "CityTown": "Shanghai",
         "Country.Country": "202"},
        {"FromYear": "2010", "FromMonth": "09", "ToYear": "2013", "ToMonth": "07",
         "FieldOfStudy": "Software Engineering", "School": "Tongji University", "CityTown": "Shanghai",
         "Country.Country": "202"}
      ]}})");
}

// Keeps the fill's one diagnostic line per call out of the figures' output.
struct QuietStderr {
    int saved = ::dup(2);
    QuietStderr() {
        int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, 2);
            ::close(null);
        }
    }
    ~QuietStderr() {
        if (saved >= 0) {
            ::dup2(saved, 2);
            ::close(saved);
        }
    }
};

void BM_FillFloor_Imm5257(benchmark::State &state) {
    for (auto _ : state) bw_bench_floor(kImm5257);
}
BENCHMARK(BM_FillFloor_Imm5257)->Unit(benchmark::kMillisecond);

void BM_Fill_Imm5257(benchmark::State &state) {
    const auto out = std::filesystem::temp_directory_path() / ("bw-fill-bench-" + std::to_string(::getpid()) + ".pdf");
    const nlohmann::json data = visitor_data();
    {
        QuietStderr quiet;
        for (auto _ : state) bw::fill_data(kImm5257, out.string(), data);
    }
    std::error_code ec;
    std::filesystem::remove(out, ec);
}
BENCHMARK(BM_Fill_Imm5257)->Unit(benchmark::kMillisecond);

}  // namespace
