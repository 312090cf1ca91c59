#pragma once
// The pieces of the standard security handler (AES-128, empty user password) that writing an
// encrypted incremental update needs, plus zlib compression.
#include <cstdint>
#include <string>
#include <string_view>

namespace bw::crypto {

// MD5 digest (RFC 1321): 16 bytes.
std::string md5(std::string_view bytes);

// File key of a document protected with an empty user password (standard handler, R3/R4).
// owner_key must hold at least 32 bytes; key_bits is the handler's key length (40..128).
// Throws bw::Error when these do not hold.
std::string file_key(std::string_view owner_key, int32_t permissions, std::string_view id0,
                     uint32_t key_bits, bool encrypt_metadata);

// AES key of one object (generation 0): md5(file key, number as 3 bytes LE, 0 0, "sAlT").
std::string object_key(std::string_view file_key, uint32_t object_number);

// 16 random bytes as initialisation vector followed by AES-128-CBC(data, PKCS #7 padding).
// key must be 16 bytes. Throws bw::Error when the random source or the cipher fails.
std::string aes_encrypt(std::string_view key, std::string_view data);
// The same with a given initialisation vector (16 bytes); the result starts with it.
std::string aes_encrypt(std::string_view key, std::string_view iv, std::string_view data);

// zlib stream (RFC 1950) at compression level 6. Throws bw::Error on failure.
std::string zlib_compress(std::string_view data);

}  // namespace bw::crypto
