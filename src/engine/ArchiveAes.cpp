// The WinZip AES scheme: PBKDF2-HMAC-SHA1 (1000 rounds) turns the password
// and salt into an AES key, an HMAC key and a 2-byte verifier; the data is
// AES in counter mode with a little-endian counter from 1, authenticated by
// the first 10 bytes of HMAC-SHA1 over the encrypted data.
#include "ArchiveAes.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace engine {
namespace {

constexpr int kRounds = 1000;
constexpr size_t kVerifierLength = 2;
constexpr size_t kCodeLength = 10;
constexpr size_t kBlock = 16;
constexpr size_t kBlocksPerStep = 4096;

const EVP_CIPHER* blockCipherFor(int keyBits) {
  switch (keyBits) {
    case 128:
      return EVP_aes_128_ecb();
    case 192:
      return EVP_aes_192_ecb();
    case 256:
      return EVP_aes_256_ecb();
    default:
      return nullptr;
  }
}

struct CipherFree {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// XORs the counter-mode key stream over the data in place.
bool applyKeyStream(const EVP_CIPHER* cipher, const uint8_t* key, uint8_t* data, size_t size) {
  std::unique_ptr<EVP_CIPHER_CTX, CipherFree> ctx(EVP_CIPHER_CTX_new());
  if (!ctx || EVP_EncryptInit_ex(ctx.get(), cipher, nullptr, key, nullptr) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1) {
    return false;
  }
  std::vector<uint8_t> counters(kBlocksPerStep * kBlock);
  std::vector<uint8_t> stream(counters.size() + kBlock);
  uint64_t counter = 1;
  for (size_t at = 0; at < size; at += counters.size()) {
    const size_t length = std::min(counters.size(), size - at);
    const size_t blocks = (length + kBlock - 1) / kBlock;
    std::fill(counters.begin(), counters.end(), 0);
    for (size_t b = 0; b < blocks; ++b, ++counter) {
      for (size_t i = 0; i < 8; ++i) counters[b * kBlock + i] = uint8_t(counter >> (8 * i));
    }
    int produced = 0;
    if (EVP_EncryptUpdate(ctx.get(), stream.data(), &produced, counters.data(),
                          static_cast<int>(blocks * kBlock)) != 1 ||
        static_cast<size_t>(produced) != blocks * kBlock) {
      return false;
    }
    for (size_t i = 0; i < length; ++i) data[at + i] ^= stream[i];
  }
  return true;
}

}  // namespace

bool DecryptWinZipAes(const std::vector<uint8_t>& stored, int keyBits, const char* password,
                      std::vector<uint8_t>& out) {
  out.clear();
  const EVP_CIPHER* cipher = blockCipherFor(keyBits);
  const size_t keyLength = static_cast<size_t>(keyBits) / 8;
  const size_t saltLength = keyLength / 2;
  if (!cipher || !password || stored.size() < saltLength + kVerifierLength + kCodeLength) {
    return false;
  }
  // AES key, HMAC key, verifier.
  std::vector<uint8_t> derived(2 * keyLength + kVerifierLength);
  if (PKCS5_PBKDF2_HMAC_SHA1(password, static_cast<int>(std::strlen(password)), stored.data(),
                             static_cast<int>(saltLength), kRounds,
                             static_cast<int>(derived.size()), derived.data()) != 1) {
    return false;
  }
  const uint8_t* verifier = stored.data() + saltLength;
  if (std::memcmp(verifier, derived.data() + 2 * keyLength, kVerifierLength) != 0) return false;

  const uint8_t* data = verifier + kVerifierLength;
  const size_t dataLength = stored.size() - saltLength - kVerifierLength - kCodeLength;
  uint8_t code[EVP_MAX_MD_SIZE];
  unsigned int codeLength = 0;
  if (!HMAC(EVP_sha1(), derived.data() + keyLength, static_cast<int>(keyLength), data, dataLength,
            code, &codeLength) ||
      codeLength < kCodeLength || CRYPTO_memcmp(code, data + dataLength, kCodeLength) != 0) {
    return false;
  }
  out.assign(data, data + dataLength);
  if (!applyKeyStream(cipher, derived.data(), out.data(), out.size())) {
    out.clear();
    return false;
  }
  return true;
}

bool InflateExactly(const std::vector<uint8_t>& deflated, size_t expected,
                    std::vector<uint8_t>& out) {
  out.clear();
  z_stream zs{};
  if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) return false;
  // Grow with the data actually produced rather than trusting the declared
  // size for the allocation.
  out.reserve(std::min(expected, size_t{16} << 20));
  size_t fed = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    if (zs.avail_in == 0 && fed < deflated.size()) {
      const size_t take = std::min<size_t>(deflated.size() - fed, 1u << 30);
      zs.next_in = const_cast<Bytef*>(deflated.data() + fed);
      zs.avail_in = static_cast<uInt>(take);
      fed += take;
    }
    const size_t have = out.size();
    // One byte past the declared end lets overlong data show.
    const size_t room = std::min<size_t>(64 * 1024, expected + 1 - have);
    out.resize(have + room);
    zs.next_out = out.data() + have;
    zs.avail_out = static_cast<uInt>(room);
    status = inflate(&zs, Z_NO_FLUSH);
    out.resize(have + room - zs.avail_out);
    if (out.size() > expected) break;
  }
  const bool ok = status == Z_STREAM_END && out.size() == expected;
  inflateEnd(&zs);
  if (!ok) out.clear();
  return ok;
}

}  // namespace engine
