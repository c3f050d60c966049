#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace pagetap::test {

struct X509Free {
  void operator()(X509* cert) const { X509_free(cert); }
};
struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};

// A fresh key and a certificate for 127.0.0.1 signed by that key, made at test time.
struct SelfSignedCertificate {
  std::unique_ptr<EVP_PKEY, KeyFree> key;
  std::unique_ptr<X509, X509Free> cert;
};

SelfSignedCertificate MakeSelfSignedCertificate();

}  // namespace pagetap::test
