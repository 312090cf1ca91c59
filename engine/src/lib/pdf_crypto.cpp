#include "lib/pdf_crypto.h"

#include <climits>
#include <memory>
#include <system_error>
#include <thread>

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <zlib.h>

#include "lib/error.h"

namespace bw::crypto {

namespace {

// The 32 bytes with which the standard security handler pads passwords.
constexpr unsigned char kPasswordPad[32] = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

struct CipherCtxFree {
    void operator()(EVP_CIPHER_CTX *c) const { EVP_CIPHER_CTX_free(c); }
};
struct MdCtxFree {
    void operator()(EVP_MD_CTX *c) const { EVP_MD_CTX_free(c); }
};

}  // namespace

std::string md5(std::string_view bytes) {
    std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx(EVP_MD_CTX_new());
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(ctx.get(), bytes.data(), bytes.size()) != 1 ||
        EVP_DigestFinal_ex(ctx.get(), out, &len) != 1 || len != 16)
        throw Error("MD5 failed");
    return std::string(reinterpret_cast<const char *>(out), 16);
}

std::string file_key(std::string_view owner_key, int32_t permissions, std::string_view id0,
                     uint32_t key_bits, bool encrypt_metadata) {
    if (owner_key.size() < 32)
        throw Error("owner key shorter than 32 bytes (" + std::to_string(owner_key.size()) + ")");
    if (key_bits < 40 || key_bits > 128 || key_bits % 8 != 0)
        throw Error("unsupported key length " + std::to_string(key_bits));
    std::string buf(reinterpret_cast<const char *>(kPasswordPad), sizeof kPasswordPad);
    buf.append(owner_key.substr(0, 32));
    auto p = static_cast<uint32_t>(permissions);
    for (int i = 0; i < 4; ++i) buf.push_back(static_cast<char>((p >> (8 * i)) & 0xff));
    buf.append(id0);
    if (!encrypt_metadata) buf.append(4, '\xff');
    const size_t n = key_bits / 8;
    std::string key = md5(buf).substr(0, n);
    for (int i = 0; i < 50; ++i) key = md5(key).substr(0, n);
    return key;
}

std::string object_key(std::string_view file_key, uint32_t object_number) {
    std::string buf(file_key);
    for (int i = 0; i < 3; ++i) buf.push_back(static_cast<char>((object_number >> (8 * i)) & 0xff));
    buf.append(2, '\0');
    buf.append("sAlT");
    return md5(buf);
}

std::string aes_encrypt(std::string_view key, std::string_view data) {
    unsigned char iv[16];
    if (RAND_bytes(iv, sizeof iv) != 1) throw Error("secure random source failed");
    return aes_encrypt(key, std::string_view(reinterpret_cast<const char *>(iv), sizeof iv), data);
}

std::string aes_encrypt(std::string_view key, std::string_view iv, std::string_view data) {
    if (key.size() != 16 || iv.size() != 16) throw Error("AES-128 needs a 16-byte key and vector");
    if (data.size() > static_cast<size_t>(INT_MAX) - 32) throw Error("AES: data too large");
    std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx) throw Error("AES failed");
    std::string out(iv);
    out.resize(16 + data.size() + 16);
    auto *dst = reinterpret_cast<unsigned char *>(out.data()) + 16;
    int len1 = 0, len2 = 0;
    // EVP applies PKCS #7 padding by default: 1 to 16 bytes, a whole block for aligned input.
    if (EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr,
                           reinterpret_cast<const unsigned char *>(key.data()),
                           reinterpret_cast<const unsigned char *>(iv.data())) != 1 ||
        EVP_EncryptUpdate(ctx.get(), dst, &len1, reinterpret_cast<const unsigned char *>(data.data()),
                          static_cast<int>(data.size())) != 1 ||
        EVP_EncryptFinal_ex(ctx.get(), dst + len1, &len2) != 1)
        throw Error("AES failed");
    out.resize(16 + static_cast<size_t>(len1) + static_cast<size_t>(len2));
    return out;
}

namespace {

// Raw deflate (level 6) of one piece of a larger input; dict is the input just before it. The
// piece ends on a byte boundary (sync flush) unless it is the last one.
bool deflate_piece(std::string_view piece, std::string_view dict, bool last, std::string &out) {
    z_stream s{};
    if (deflateInit2(&s, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    bool ok = dict.empty() || deflateSetDictionary(&s, reinterpret_cast<const Bytef *>(dict.data()),
                                                   static_cast<uInt>(dict.size())) == Z_OK;
    out.resize(deflateBound(&s, static_cast<uLong>(piece.size())) + 16);
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(piece.data()));
    s.avail_in = static_cast<uInt>(piece.size());
    int rc = Z_OK;
    while (ok) {
        s.next_out = reinterpret_cast<Bytef *>(out.data()) + s.total_out;
        s.avail_out = static_cast<uInt>(out.size() - s.total_out);
        rc = deflate(&s, last ? Z_FINISH : Z_SYNC_FLUSH);
        if (rc == Z_STREAM_END || (!last && rc == Z_OK && s.avail_out > 0)) break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) ok = false;
        else out.resize(out.size() * 2);
    }
    out.resize(s.total_out);
    deflateEnd(&s);
    return ok;
}

}  // namespace

std::string zlib_compress(std::string_view data) {
    if (data.size() > static_cast<size_t>(UINT32_MAX) / 2) throw Error("zlib: data too large");
    // Large inputs are compressed in two pieces at once, the second primed with the 32 KiB
    // before it, and joined into one stream (as pigz does); small ones in one go.
    constexpr size_t kSplitAbove = 128 * 1024, kWindow = 32 * 1024;
    if (data.size() <= kSplitAbove || std::thread::hardware_concurrency() < 2) {
        uLongf cap = compressBound(static_cast<uLong>(data.size()));
        std::string out(cap, '\0');
        int rc = compress2(reinterpret_cast<Bytef *>(out.data()), &cap,
                           reinterpret_cast<const Bytef *>(data.data()), static_cast<uLong>(data.size()), 6);
        if (rc != Z_OK) throw Error(std::string("zlib: ") + zError(rc));
        out.resize(cap);
        return out;
    }
    const size_t half = data.size() / 2;
    std::string first, second;
    bool first_ok = false;
    auto compress_first = [&]() noexcept {
        try {
            first_ok = deflate_piece(data.substr(0, half), {}, false, first);
        } catch (...) {
            first_ok = false;
        }
    };
    std::thread worker;
    try {
        worker = std::thread(compress_first);
    } catch (const std::system_error &) {
        compress_first();  // no thread to be had: one after the other
    }
    bool second_ok = false;
    try {
        second_ok = deflate_piece(data.substr(half), data.substr(half - kWindow, kWindow), true, second);
    } catch (...) {
    }
    if (worker.joinable()) worker.join();
    if (!first_ok || !second_ok) throw Error("zlib: compression failed");

    std::string out("\x78\x9c", 2);  // deflate, 32 KiB window, default level
    out.reserve(2 + first.size() + second.size() + 4);
    out += first;
    out += second;
    uLong sum = adler32(adler32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(data.data()),
                        static_cast<uInt>(data.size()));
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((sum >> shift) & 0xff));
    return out;
}

}  // namespace bw::crypto
