#include "Model/SampleData.h"

namespace {

EmploymentEntry job(const char *occupation, const char *employer, const char *city, const char *country,
                    const char *from) {
    EmploymentEntry e;
    e.occupation = occupation;
    e.employer = employer;
    e.city = city;
    e.country = country;
    e.from = from;
    return e;
}

EducationEntry school(const char *field, const char *name, const char *city, const char *country,
                      const char *province, const char *from, const char *to) {
    EducationEntry e;
    e.field = field;
    e.school = name;
    e.city = city;
    e.country = country;
    e.province = province;
    e.from = from;
    e.to = to;
    return e;
}

Address beijingAddress() {
    Address a;
    a.streetNo = "88";
    a.street = "Jianguo Road, Chaoyang District";
    a.city = "Beijing";
    a.province = "Beijing";
    a.postalCode = "100022";
    a.country = "China";
    return a;
}

ClientProfile spouseProfile() {
    ClientProfile p;
    p.displayName = "李梅";
    p.nameNative = "李梅";
    p.name = {"LI", "MEI"};
    p.uci = "1122334455";
    p.sex = "F Female";
    p.dob = "1987-11-02";
    p.birthCity = "Shanghai";
    p.birthCountry = "China";
    p.citizenship = "China";
    p.passport = {"EB7654321", "China", "2023-06-18", relativeDateText(0, 5)};
    p.residence.country = "China";
    p.residence.status = "Citizen";
    p.mailing = beijingAddress();
    p.email = "limei@example.com";
    p.maritalStatus = "Married";
    p.spouseName = {"ZHANG", "SAN"};
    p.dateOfMarriage = "2012-05-20";
    p.nativeLanguage = "Chinese";
    p.ableToCommunicate = "English";
    p.serviceLanguage = "English";
    p.employment.push_back(job("Teacher", "Beijing No. 4 High School", "Beijing", "China", "2011-09"));
    p.education.push_back(
        school("English Education", "Shanghai Normal University", "Shanghai", "China", "Shanghai", "2006-09", "2010-07"));
    return p;
}

ClientProfile singleProfile() {
    ClientProfile p;
    p.displayName = "王五";
    p.nameNative = "王五";
    p.name = {"WANG", "WU"};
    p.uci = "5566778899";
    p.sex = "M Male";
    p.dob = "1992-03-15";
    p.birthCity = "Chengdu";
    p.birthCountry = "China";
    p.citizenship = "China";
    p.passport = {"EC2468135", "China", "2024-01-09", relativeDateText(0, 7)};
    p.residence.country = "China";
    p.residence.status = "Citizen";
    p.mailing.streetNo = "16";
    p.mailing.street = "Renmin South Road";
    p.mailing.city = "Chengdu";
    p.mailing.province = "Sichuan";
    p.mailing.postalCode = "610041";
    p.mailing.country = "China";
    p.email = "wangwu@example.com";
    p.maritalStatus = "Single";
    p.nativeLanguage = "Chinese";
    p.ableToCommunicate = "English";
    p.serviceLanguage = "English";
    p.employment.push_back(job("Accountant", "Chengdu Accounting Partners", "Chengdu", "China", "2015-07"));
    p.education.push_back(
        school("Accounting", "Sichuan University", "Chengdu", "China", "Sichuan", "2010-09", "2014-06"));
    return p;
}

} // namespace

ClientProfile demoProfile() {
    ClientProfile p;
    p.displayName = "张三";
    p.nameNative = "张三";
    p.name = {"ZHANG", "SAN"};
    p.uci = "1234567890";
    p.sex = "M Male";
    p.dob = "1985-06-15";
    p.birthCity = "Beijing";
    p.birthCountry = "China";
    p.citizenship = "China";
    p.passport = {"EA1234567", "China", "2022-04-01", relativeDateText(0, 8)};
    p.residence.country = "China";
    p.residence.status = "Citizen";
    p.mailing = beijingAddress();
    p.email = "zhangsan@example.com";
    p.maritalStatus = "Married";
    p.spouseName = {"LI", "MEI"};
    p.dateOfMarriage = "2012-05-20";
    p.nativeLanguage = "Chinese";
    p.ableToCommunicate = "English";
    p.serviceLanguage = "English";
    p.employment.push_back(job("Software Engineer", "Beijing Tech Co., Ltd.", "Beijing", "China", "2010-07"));
    p.education.push_back(
        school("Computer Science", "Tsinghua University", "Beijing", "China", "Beijing", "2003-09", "2007-07"));
    return p;
}

Application demoApplication() {
    Application a;
    a.kind = ApplicationKind::visit;
    a.program = "TRV";
    a.visaType = "Visitor Visa";
    a.purpose = "Tourism";
    a.visitFrom = relativeDateText(90, 0);
    a.visitTo = relativeDateText(180, 0);
    a.funds = "5000";
    a.contactName = "Emily Chen";
    a.contactAddress = "1055 West Georgia Street, Vancouver, BC V6E 3P3";
    return a;
}

Application demoWorkApplication() {
    Application a;
    a.kind = ApplicationKind::work;
    a.program = "C11";
    a.workPermitType = "ELMO";
    a.employerName = "MAPLE NORTH TECHNOLOGIES INC.";
    a.employerAddress = "1200 West Pender Street, Vancouver, British Columbia V6E 2S9";
    a.workProvince = "11";
    a.workCity = "8634";
    a.workAddress = "1200 West Pender Street";
    a.jobTitle = "President";
    a.jobDuties = "Lead product strategy, manage operations and drive company growth in Canada";
    a.workFrom = relativeDateText(120, 0);
    a.workTo = relativeDateText(0, 3);
    a.lmia = "A9999999";
    return a;
}

std::vector<ClientProfile> demoProfiles() { return {demoProfile(), spouseProfile(), singleProfile()}; }
