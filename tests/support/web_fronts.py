#!/usr/bin/env python3
"""Test equipment for the update tests, run natively beside Wine.

  web_fronts.py certs FOLDER
      makes (once) a test CA, a second CA nobody trusts, and server
      certificates: localhost.pem (localhost, from the test CA),
      untrusted.pem (localhost, from the other CA), other-host.pem
      (other-host.test, from the test CA), each with its -key.pem.
  web_fronts.py tls PORT_FILE CERT KEY BACKEND_PORT [TLSv1]
      a TLS server on 127.0.0.1 that hands each connection on to the
      tests' plain HTTP server on BACKEND_PORT; with TLSv1, one that speaks
      TLS 1.0 only, as old servers do.
  web_fronts.py files PORT FOLDER CERT KEY
      an HTTPS server on 127.0.0.1:PORT for the files under FOLDER, until
      it is killed.
  web_fronts.py proxy PORT_FILE LOG [SCHEMES]
      an HTTP proxy (GET, and CONNECT for HTTPS) that writes a line to LOG
      for each request: "GET host:port /path" or "CONNECT host:port host:port".
      With SCHEMES (e.g. "Negotiate,NTLM" or "Basic") it first answers 407
      asking for them, and takes a request that brings any of them, writing
      "AUTH scheme" to LOG.

The servers write their port to PORT_FILE and end when it is removed (or
after ten minutes).
"""
import functools
import http.server
import os
import select
import socket
import ssl
import subprocess
import sys
import threading
import time


def make_certs(folder):
    os.makedirs(folder, exist_ok=True)

    def openssl(*args):
        subprocess.run(["openssl", *args], cwd=folder, check=True, capture_output=True)

    for ca in ("ca", "other-ca"):
        if not os.path.exists(os.path.join(folder, ca + ".pem")):
            openssl("req", "-x509", "-newkey", "rsa:2048",
                    "-nodes", "-days", "3650", "-subj", "/CN=Tavrik test " + ca,
                    "-keyout", ca + "-key.pem", "-out", ca + ".pem")
    for name, host, ca in (("localhost", "localhost", "ca"), ("untrusted", "localhost", "other-ca"),
                           ("other-host", "other-host.test", "ca")):
        if os.path.exists(os.path.join(folder, name + ".pem")):
            continue
        with open(os.path.join(folder, name + ".ext"), "w") as ext:
            ext.write("subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\n" % host)
        openssl("req", "-newkey", "rsa:2048", "-nodes",
                "-subj", "/CN=" + host, "-keyout", name + "-key.pem", "-out", name + ".csr")
        openssl("x509", "-req", "-in", name + ".csr", "-CA", ca + ".pem", "-CAkey", ca + "-key.pem",
                "-CAcreateserial", "-days", "3650", "-extfile", name + ".ext", "-out", name + ".pem")


def pipe(a, b):
    """Copies both ways until either side ends."""
    try:
        while True:
            ready = [s for s in (a, b) if isinstance(s, ssl.SSLSocket) and s.pending()]
            if not ready:
                ready, _, _ = select.select([a, b], [], [], 60)
                if not ready:
                    return
            for s in ready:
                data = s.recv(65536)
                if not data:
                    return
                (b if s is a else a).sendall(data)
    except (OSError, ssl.SSLError):
        pass
    finally:
        a.close()
        b.close()


def read_head(conn):
    head = b""
    while b"\r\n\r\n" not in head:
        data = conn.recv(4096)
        if not data:
            return None
        head += data
    return head


def tls_connection(conn, context, backend_port):
    try:
        conn = context.wrap_socket(conn, server_side=True)
        backend = socket.create_connection(("127.0.0.1", backend_port))
    except (OSError, ssl.SSLError):
        conn.close()
        return
    pipe(conn, backend)


def authorized_head(conn, log, schemes):
    """The first request head that brings one of schemes; each other one is
    answered 407 on the same connection."""
    while True:
        head = read_head(conn)
        if head is None or not schemes:
            return head
        for h in head.split(b"\r\n")[1:]:
            name, _, value = h.partition(b":")
            scheme = value.strip().split(b" ")[0].decode()
            if name.strip().lower() == b"proxy-authorization" and scheme in schemes:
                with open(log, "a") as out:
                    out.write("AUTH %s\n" % scheme)
                return head
        conn.sendall(b"HTTP/1.1 407 Proxy Authentication Required\r\n" +
                     b"".join(b"Proxy-Authenticate: %s\r\n" % s.encode() for s in schemes) +
                     b"Content-Length: 0\r\nProxy-Connection: keep-alive\r\n\r\n")


def proxy_connection(conn, log, schemes=()):
    head = authorized_head(conn, log, schemes)
    if head is None:
        conn.close()
        return
    end = head.index(b"\r\n\r\n") + 4
    line, rest = head.split(b"\r\n", 1)
    method, target, version = line.split(b" ")
    headers = {k.strip().lower(): v.strip() for k, _, v in
               (h.partition(b":") for h in head[:end].split(b"\r\n")[1:] if h)}
    try:
        if method == b"CONNECT":
            authority = target
        elif b"://" in target:
            authority, _, path = target.split(b"://", 1)[1].partition(b"/")
            target = b"/" + path
        else:
            # Some clients send the path only, with the server in Host.
            authority = headers[b"host"]
        with open(log, "a") as out:
            out.write("%s %s %s\n" % (method.decode(), authority.decode(), target.decode()))
        host, _, port = authority.partition(b":")
        upstream = socket.create_connection((host.decode(), int(port or 80)))
        if method == b"CONNECT":
            conn.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
            if head[end:]:
                upstream.sendall(head[end:])
        else:
            upstream.sendall(b" ".join([method, target, version]) + b"\r\n" + rest)
    except (OSError, ValueError, IndexError):
        conn.close()
        return
    pipe(conn, upstream)


def serve(port_file, handle):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(64)
    listener.settimeout(0.2)
    with open(port_file + ".new", "w") as out:
        out.write(str(listener.getsockname()[1]))
    os.rename(port_file + ".new", port_file)
    end = time.time() + 600
    while os.path.exists(port_file) and time.time() < end:
        try:
            conn, _ = listener.accept()
        except socket.timeout:
            continue
        conn.settimeout(None)
        threading.Thread(target=handle, args=(conn,), daemon=True).start()


def main(args):
    if args[0] == "certs":
        make_certs(args[1])
    elif args[0] == "tls":
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args[2], args[3])
        if args[5:] == ["TLSv1"]:
            context.set_ciphers("DEFAULT:@SECLEVEL=0")
            context.minimum_version = context.maximum_version = ssl.TLSVersion.TLSv1
        serve(args[1], lambda conn: tls_connection(conn, context, int(args[4])))
    elif args[0] == "files":
        handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=args[2])
        server = http.server.ThreadingHTTPServer(("127.0.0.1", int(args[1])), handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args[3], args[4])
        server.socket = context.wrap_socket(server.socket, server_side=True)
        server.serve_forever()
    elif args[0] == "proxy":
        schemes = args[3].split(",") if len(args) > 3 else ()
        serve(args[1], lambda conn: proxy_connection(conn, args[2], schemes))


if __name__ == "__main__":
    main(sys.argv[1:])
