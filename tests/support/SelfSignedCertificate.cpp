#include "tests/support/SelfSignedCertificate.h"

#include <openssl/x509v3.h>

namespace pagetap::test {
namespace {

struct ExtensionFree {
  void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};

bool AddExtension(X509* cert, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
  const std::unique_ptr<X509_EXTENSION, ExtensionFree> extension(
      X509V3_EXT_conf_nid(nullptr, &context, nid, value));
  return extension && X509_add_ext(cert, extension.get(), -1) == 1;
}

bool FillCertificate(X509* cert, EVP_PKEY* key) {
  constexpr long kHour = 60 * 60;
  X509_NAME* name = X509_get_subject_name(cert);
  return X509_set_version(cert, X509_VERSION_3) == 1 &&
         ASN1_INTEGER_set(X509_get_serialNumber(cert), 1) == 1 &&
         X509_gmtime_adj(X509_getm_notBefore(cert), -kHour) != nullptr &&
         X509_gmtime_adj(X509_getm_notAfter(cert), 23 * kHour) != nullptr &&
         X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                    reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1,
                                    0) == 1 &&
         X509_set_issuer_name(cert, name) == 1 && X509_set_pubkey(cert, key) == 1 &&
         AddExtension(cert, NID_subject_alt_name, "IP:127.0.0.1") &&
         X509_sign(cert, key, EVP_sha256()) > 0;
}

}  // namespace

SelfSignedCertificate MakeSelfSignedCertificate() {
  SelfSignedCertificate made;
  made.key.reset(EVP_EC_gen("P-256"));
  made.cert.reset(X509_new());
  if (!made.key || !made.cert || !FillCertificate(made.cert.get(), made.key.get())) {
    return {};
  }
  return made;
}

}  // namespace pagetap::test
