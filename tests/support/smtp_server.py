#!/usr/bin/env python3
"""A real SMTP server for the e-mail sender's tests, on a loopback port.

Prints one JSON object per line on stdout: first {"event": "ready", "port": N}, then one
{"event": "auth", ...} per authentication attempt and one {"event": "message", ...} per message
received, parsed with Python's own e-mail package so a test sees what a mail reader would.
Runs until it is terminated.
"""

import argparse
import asyncio
import email
import email.policy
import json
import socket
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult


def emit(record):
    print(json.dumps(record), flush=True)


def header_defects(message):
    defects = [type(d).__name__ for d in message.defects]
    for name, value in message.items():
        defects += [f"{name}: {type(d).__name__}" for d in getattr(value, "defects", ())]
    return defects


def mailboxes(header):
    if header is None:
        return []
    return [{"name": a.display_name, "address": a.addr_spec} for a in header.addresses]


def uses_tls(server):
    transport = server.transport
    return transport is not None and transport.get_extra_info("ssl_object") is not None


class Recorder:
    def __init__(self, refused):
        self.refused = set(refused)

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.refused:
            return f"550 5.1.1 <{address}>: Recipient address rejected"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        login = session.auth_data.login.decode() if session.authenticated else None
        emit({
            "event": "message",
            "tls": uses_tls(server),
            "login": login,
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "subject": str(message["subject"]),
            "from": mailboxes(message["from"]),
            "to": mailboxes(message["to"]),
            "date": str(message["date"]) if message["date"] is not None else None,
            "message_id": str(message["message-id"]) if message["message-id"] else None,
            "mime_version": str(message["mime-version"]),
            "content_type": message.get_content_type(),
            "charset": message.get_content_charset(),
            "transfer_encoding": str(message["content-transfer-encoding"]),
            "headers": [name.lower() for name in message.keys()],
            # As a mail reader shows it: lines end in "\n".
            "body": message.get_content().replace("\r\n", "\n"),
            "defects": header_defects(message),
            "raw": raw.decode("utf-8", "replace"),
        })
        return "250 2.0.0 Message accepted"


class DataAnsweredWith250(SMTP):
    """Answers DATA with 250 instead of 354, which no client can take as an invitation."""

    async def smtp_DATA(self, arg):
        await self.push("250 2.0.0 Nothing to do")


class Silent(asyncio.Protocol):
    """Takes the connection and never says a word."""

    def connection_made(self, transport):
        self.transport = transport


def make_authenticator(expected):
    def authenticate(server, session, envelope, mechanism, auth_data):
        login = auth_data.login.decode()
        password = auth_data.password.decode()
        emit({"event": "auth", "mechanism": mechanism, "login": login})
        if expected == (login, password):
            return AuthResult(success=True, auth_data=auth_data)
        return AuthResult(success=False, handled=False)  # the server answers 535
    return authenticate


async def serve(args):
    tls = None
    if args.cert:
        tls = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls.load_cert_chain(args.cert, args.key)

    expected = tuple(args.auth.split(":", 1)) if args.auth else None
    smtp_class = DataAnsweredWith250 if args.data_reply_250 else SMTP

    def factory():
        if args.silent:
            return Silent()
        return smtp_class(
            Recorder(args.refuse),
            hostname="mail.test",
            tls_context=tls if args.starttls else None,
            auth_require_tls=False,
            auth_exclude_mechanism=args.exclude_auth,
            authenticator=make_authenticator(expected),
        )

    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    try:
        sock.bind(("127.0.0.1", args.port))
    except OSError as error:
        emit({"event": "error", "errno": error.errno, "message": str(error)})
        sys.exit(1)
    sock.listen(16)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(factory, sock=sock, ssl=tls if args.implicit_tls else None)
    emit({"event": "ready", "port": sock.getsockname()[1]})
    async with server:
        await server.serve_forever()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--port", type=int, default=0, help="0: a free port")
    parser.add_argument("--auth", help="LOGIN:PASSWORD that authentication accepts")
    parser.add_argument("--exclude-auth", action="append", default=[],
                        help="AUTH mechanism not to offer")
    parser.add_argument("--cert", help="PEM certificate for TLS")
    parser.add_argument("--key", help="PEM private key for TLS")
    parser.add_argument("--starttls", action="store_true", help="offer STARTTLS")
    parser.add_argument("--implicit-tls", action="store_true", help="TLS from the first byte")
    parser.add_argument("--refuse", action="append", default=[], help="recipient to refuse")
    parser.add_argument("--silent", action="store_true", help="accept and never answer")
    parser.add_argument("--data-reply-250", action="store_true", help="answer DATA with 250")
    asyncio.run(serve(parser.parse_args()))


if __name__ == "__main__":
    main()
