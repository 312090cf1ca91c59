#include "Model/RecordJSON.h"

#include <cctype>

using nlohmann::json;

namespace {

struct DecodeFailure {};

const json &member(const json &obj, const char *key) {
    if (!obj.is_object()) throw DecodeFailure{};
    auto it = obj.find(key);
    if (it == obj.end() || it->is_null()) throw DecodeFailure{};
    return *it;
}

std::string text(const json &obj, const char *key) {
    const json &v = member(obj, key);
    if (!v.is_string()) throw DecodeFailure{};
    return v.get<std::string>();
}

bool flag(const json &obj, const char *key) {
    const json &v = member(obj, key);
    if (!v.is_boolean()) throw DecodeFailure{};
    return v.get<bool>();
}

const json &object(const json &obj, const char *key) {
    const json &v = member(obj, key);
    if (!v.is_object()) throw DecodeFailure{};
    return v;
}

const json &array(const json &obj, const char *key) {
    const json &v = member(obj, key);
    if (!v.is_array()) throw DecodeFailure{};
    return v;
}

std::string uuid(const json &obj, const char *key) {
    auto canonical = canonicalUUID(text(obj, key));
    if (!canonical) throw DecodeFailure{};
    return *canonical;
}

json nameJSON(const Name &n) { return {{"family", n.family}, {"given", n.given}}; }
Name readName(const json &j) { return {text(j, "family"), text(j, "given")}; }

json addressJSON(const Address &a) {
    return {{"poBox", a.poBox},   {"apt", a.apt},           {"streetNo", a.streetNo},
            {"street", a.street}, {"city", a.city},         {"province", a.province},
            {"postalCode", a.postalCode}, {"country", a.country}};
}
Address readAddress(const json &j) {
    Address a;
    a.poBox = text(j, "poBox");
    a.apt = text(j, "apt");
    a.streetNo = text(j, "streetNo");
    a.street = text(j, "street");
    a.city = text(j, "city");
    a.province = text(j, "province");
    a.postalCode = text(j, "postalCode");
    a.country = text(j, "country");
    return a;
}

json residenceJSON(const Residence &r) {
    return {{"country", r.country}, {"status", r.status}, {"from", r.from}, {"to", r.to}};
}
Residence readResidence(const json &j) {
    return {text(j, "country"), text(j, "status"), text(j, "from"), text(j, "to")};
}

template <class Doc> json documentJSON(const Doc &d) {
    return {{"number", d.number}, {"country", d.country}, {"issued", d.issued}, {"expires", d.expires}};
}
template <class Doc> Doc readDocument(const json &j) {
    Doc d;
    d.number = text(j, "number");
    d.country = text(j, "country");
    d.issued = text(j, "issued");
    d.expires = text(j, "expires");
    return d;
}

json usDocJSON(const USDoc &d) { return {{"number", d.number}, {"expires", d.expires}}; }
USDoc readUSDoc(const json &j) { return {text(j, "number"), text(j, "expires")}; }

json educationJSON(const EducationEntry &e) {
    return {{"id", e.id},           {"field", e.field},     {"school", e.school}, {"city", e.city},
            {"country", e.country}, {"province", e.province}, {"from", e.from},   {"to", e.to}};
}
// Copies of one prototype: decoding overwrites the id, so no fresh UUID is drawn per record.
EducationEntry readEducation(const json &j) {
    static const EducationEntry prototype;
    EducationEntry e = prototype;
    e.id = uuid(j, "id");
    e.field = text(j, "field");
    e.school = text(j, "school");
    e.city = text(j, "city");
    e.country = text(j, "country");
    e.province = text(j, "province");
    e.from = text(j, "from");
    e.to = text(j, "to");
    return e;
}

json employmentJSON(const EmploymentEntry &e) {
    return {{"id", e.id},     {"occupation", e.occupation}, {"employer", e.employer},
            {"city", e.city}, {"country", e.country},       {"from", e.from}};
}
EmploymentEntry readEmployment(const json &j) {
    static const EmploymentEntry prototype;
    EmploymentEntry e = prototype;
    e.id = uuid(j, "id");
    e.occupation = text(j, "occupation");
    e.employer = text(j, "employer");
    e.city = text(j, "city");
    e.country = text(j, "country");
    e.from = text(j, "from");
    return e;
}

#define BW_BACKGROUND_FIELDS(X)                                                                              \
    X(usedOtherName) X(livedOtherCountry) X(previouslyMarried) X(languageTestTaken) X(hasNationalID)        \
    X(hasUSPRCard) X(hasEducation) X(currentlyEmployed) X(military) X(govPosition) X(criminal)              \
    X(medicalCondition) X(refusedVisa) X(overstayed) X(previouslyApplied)

json backgroundJSON(const Background &b) {
    json j = json::object();
#define X(f) j[#f] = b.f;
    BW_BACKGROUND_FIELDS(X)
#undef X
    return j;
}
Background readBackground(const json &j) {
    Background b;
#define X(f) b.f = flag(j, #f);
    BW_BACKGROUND_FIELDS(X)
#undef X
    return b;
}

template <class T, class F> std::optional<T> guarded(F &&f) {
    try {
        return f();
    } catch (const DecodeFailure &) {
        return std::nullopt;
    } catch (const json::exception &) {
        return std::nullopt;
    }
}

template <class T, class F> std::optional<T> decodeText(std::string_view textIn, F &&fromJSON) {
    json j = json::parse(textIn.begin(), textIn.end(), nullptr, /*allow_exceptions=*/false);
    if (j.is_discarded()) return std::nullopt;
    return fromJSON(j);
}

} // namespace

std::optional<std::string> canonicalUUID(std::string_view t) {
    if (t.size() != 36) return std::nullopt;
    std::string out(t);
    for (size_t i = 0; i < out.size(); ++i) {
        char c = out[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != '-') return std::nullopt;
        } else if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        } else {
            out[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

json toJSON(const ClientProfile &p) {
    json j = json::object();
    j["id"] = p.id;
    j["displayName"] = p.displayName;
    j["name"] = nameJSON(p.name);
    j["aliasName"] = nameJSON(p.aliasName);
    j["nameNative"] = p.nameNative;
    j["uci"] = p.uci;
    j["sex"] = p.sex;
    j["dob"] = p.dob;
    j["birthCity"] = p.birthCity;
    j["birthCountry"] = p.birthCountry;
    j["citizenship"] = p.citizenship;
    j["passport"] = documentJSON(p.passport);
    j["nationalID"] = documentJSON(p.nationalID);
    j["usCard"] = usDocJSON(p.usCard);
    j["residence"] = residenceJSON(p.residence);
    j["sameAsCOR"] = p.sameAsCOR;
    j["mailing"] = addressJSON(p.mailing);
    j["residential"] = addressJSON(p.residential);
    j["residentialSameAsMailing"] = p.residentialSameAsMailing;
    j["email"] = p.email;
    j["maritalStatus"] = p.maritalStatus;
    j["spouseName"] = nameJSON(p.spouseName);
    j["dateOfMarriage"] = p.dateOfMarriage;
    j["nativeLanguage"] = p.nativeLanguage;
    j["ableToCommunicate"] = p.ableToCommunicate;
    j["serviceLanguage"] = p.serviceLanguage;
    json employment = json::array();
    for (const auto &e : p.employment) employment.push_back(employmentJSON(e));
    j["employment"] = std::move(employment);
    json education = json::array();
    for (const auto &e : p.education) education.push_back(educationJSON(e));
    j["education"] = std::move(education);
    j["background"] = backgroundJSON(p.background);
    return j;
}

std::optional<ClientProfile> profileFromJSON(const json &j) {
    return guarded<ClientProfile>([&] {
        if (!j.is_object()) throw DecodeFailure{};
        static const ClientProfile prototype;
        ClientProfile p = prototype;
        p.id = uuid(j, "id");
        p.displayName = text(j, "displayName");
        p.name = readName(object(j, "name"));
        p.aliasName = readName(object(j, "aliasName"));
        p.nameNative = text(j, "nameNative");
        p.uci = text(j, "uci");
        p.sex = text(j, "sex");
        p.dob = text(j, "dob");
        p.birthCity = text(j, "birthCity");
        p.birthCountry = text(j, "birthCountry");
        p.citizenship = text(j, "citizenship");
        p.passport = readDocument<Passport>(object(j, "passport"));
        p.nationalID = readDocument<IDDoc>(object(j, "nationalID"));
        p.usCard = readUSDoc(object(j, "usCard"));
        p.residence = readResidence(object(j, "residence"));
        p.sameAsCOR = flag(j, "sameAsCOR");
        p.mailing = readAddress(object(j, "mailing"));
        p.residential = readAddress(object(j, "residential"));
        p.residentialSameAsMailing = flag(j, "residentialSameAsMailing");
        p.email = text(j, "email");
        p.maritalStatus = text(j, "maritalStatus");
        p.spouseName = readName(object(j, "spouseName"));
        p.dateOfMarriage = text(j, "dateOfMarriage");
        p.nativeLanguage = text(j, "nativeLanguage");
        p.ableToCommunicate = text(j, "ableToCommunicate");
        p.serviceLanguage = text(j, "serviceLanguage");
        for (const auto &e : array(j, "employment")) p.employment.push_back(readEmployment(e));
        for (const auto &e : array(j, "education")) p.education.push_back(readEducation(e));
        p.background = readBackground(object(j, "background"));
        return p;
    });
}

json toJSON(const Application &a) {
    json j = json::object();
    j["kind"] = applicationKindText(a.kind);
    j["program"] = a.program;
    j["visaType"] = a.visaType;
    j["purpose"] = a.purpose;
    j["visitFrom"] = a.visitFrom;
    j["visitTo"] = a.visitTo;
    j["funds"] = a.funds;
    j["contactName"] = a.contactName;
    j["contactAddress"] = a.contactAddress;
    j["workPermitType"] = a.workPermitType;
    j["employerName"] = a.employerName;
    j["employerAddress"] = a.employerAddress;
    j["workProvince"] = a.workProvince;
    j["workCity"] = a.workCity;
    j["workAddress"] = a.workAddress;
    j["jobTitle"] = a.jobTitle;
    j["jobDuties"] = a.jobDuties;
    j["workFrom"] = a.workFrom;
    j["workTo"] = a.workTo;
    j["lmia"] = a.lmia;
    j["extraForms"] = a.extraForms;
    if (a.extraForms.empty()) j["extraForms"] = json::array();
    return j;
}

std::optional<Application> applicationFromJSON(const json &j) {
    return guarded<Application>([&] {
        if (!j.is_object()) throw DecodeFailure{};
        Application a;
        auto kind = applicationKindFromText(text(j, "kind"));
        if (!kind) throw DecodeFailure{};
        a.kind = *kind;
        a.program = text(j, "program");
        a.visaType = text(j, "visaType");
        a.purpose = text(j, "purpose");
        a.visitFrom = text(j, "visitFrom");
        a.visitTo = text(j, "visitTo");
        a.funds = text(j, "funds");
        a.contactName = text(j, "contactName");
        a.contactAddress = text(j, "contactAddress");
        a.workPermitType = text(j, "workPermitType");
        a.employerName = text(j, "employerName");
        a.employerAddress = text(j, "employerAddress");
        a.workProvince = text(j, "workProvince");
        a.workCity = text(j, "workCity");
        a.workAddress = text(j, "workAddress");
        a.jobTitle = text(j, "jobTitle");
        a.jobDuties = text(j, "jobDuties");
        a.workFrom = text(j, "workFrom");
        a.workTo = text(j, "workTo");
        a.lmia = text(j, "lmia");
        for (const auto &f : array(j, "extraForms")) {
            if (!f.is_string()) throw DecodeFailure{};
            a.extraForms.push_back(f.get<std::string>());
        }
        return a;
    });
}

json toJSON(const CaseFile &c) {
    json members = json::array();
    for (const auto &m : c.members)
        members.push_back({{"folderName", m.folderName}, {"role", memberRoleText(m.role)}});
    return {{"members", std::move(members)}};
}

std::optional<CaseFile> caseFileFromJSON(const json &j) {
    return guarded<CaseFile>([&] {
        if (!j.is_object()) throw DecodeFailure{};
        CaseFile c;
        for (const auto &m : array(j, "members")) {
            MemberRecord r;
            r.folderName = text(m, "folderName");
            auto role = memberRoleFromText(text(m, "role"));
            if (!role) throw DecodeFailure{};
            r.role = *role;
            c.members.push_back(std::move(r));
        }
        return c;
    });
}

std::string prettyJSONText(const json &j) {
    // nlohmann objects keep their members sorted by key; invalid UTF-8 is replaced, never thrown.
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string encodeProfile(const ClientProfile &p) { return prettyJSONText(toJSON(p)); }
std::string encodeApplication(const Application &a) { return prettyJSONText(toJSON(a)); }
std::string encodeCaseFile(const CaseFile &c) { return prettyJSONText(toJSON(c)); }

std::optional<ClientProfile> decodeProfile(std::string_view t) {
    return decodeText<ClientProfile>(t, [](const json &j) { return profileFromJSON(j); });
}
std::optional<Application> decodeApplication(std::string_view t) {
    return decodeText<Application>(t, [](const json &j) { return applicationFromJSON(j); });
}
std::optional<CaseFile> decodeCaseFile(std::string_view t) {
    return decodeText<CaseFile>(t, [](const json &j) { return caseFileFromJSON(j); });
}
