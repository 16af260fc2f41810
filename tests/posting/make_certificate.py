"""Makes a certificate authority and a server certificate for 127.0.0.1 signed by it.

Writes ca.pem, server.pem and server.key into the folder given. Trusting ca.pem makes the
server certificate verify; nothing else trusts it.
"""

import datetime
import ipaddress
import sys
from pathlib import Path

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.x509.oid import NameOID


def certificate(subject, issuer, key, signing_key, extensions):
    now = datetime.datetime.now(datetime.timezone.utc)
    builder = (
        x509.CertificateBuilder()
        .subject_name(x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, subject)]))
        .issuer_name(x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, issuer)]))
        .public_key(key.public_key())
        .serial_number(x509.random_serial_number())
        .not_valid_before(now - datetime.timedelta(days=1))
        .not_valid_after(now + datetime.timedelta(days=30))
    )
    for extension, critical in extensions:
        builder = builder.add_extension(extension, critical=critical)
    return builder.sign(signing_key, hashes.SHA256())


def pem(cert):
    return cert.public_bytes(serialization.Encoding.PEM)


def main():
    folder = Path(sys.argv[1])
    ca_key = ec.generate_private_key(ec.SECP256R1())
    ca = certificate(
        "Vesk test CA",
        "Vesk test CA",
        ca_key,
        ca_key,
        [
            (x509.BasicConstraints(ca=True, path_length=None), True),
            (x509.KeyUsage(False, False, False, False, False, True, True, False, False), True),
            (x509.SubjectKeyIdentifier.from_public_key(ca_key.public_key()), False),
        ],
    )
    key = ec.generate_private_key(ec.SECP256R1())
    server = certificate(
        "127.0.0.1",
        "Vesk test CA",
        key,
        ca_key,
        [
            (x509.BasicConstraints(ca=False, path_length=None), True),
            (x509.SubjectAlternativeName([x509.IPAddress(ipaddress.ip_address("127.0.0.1"))]), False),
            (x509.ExtendedKeyUsage([x509.oid.ExtendedKeyUsageOID.SERVER_AUTH]), False),
            (x509.AuthorityKeyIdentifier.from_issuer_public_key(ca_key.public_key()), False),
        ],
    )
    (folder / "ca.pem").write_bytes(pem(ca))
    (folder / "server.pem").write_bytes(pem(server))
    (folder / "server.key").write_bytes(
        key.private_bytes(
            serialization.Encoding.PEM,
            serialization.PrivateFormat.TraditionalOpenSSL,
            serialization.NoEncryption(),
        )
    )
    return 0


if __name__ == "__main__":
    sys.exit(main())
