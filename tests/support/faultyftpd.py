#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""An FTP server on 127.0.0.1 that misbehaves as a test tells it.

The test writes a JSON control file and may rewrite it while the server runs: it is read
again when a client connects and before every command, so a fault can be switched on
between two operations of the same session. The server keeps how often each command was
received in a JSON state file, so that a test can say "the 5th STOR".

Control file:
  {"greeting": "normal" | "garbage" | "none",
   "echo": false,             # every reply ends with the argument of the last command
   "rules": [{"command": "STOR", "nth": 5,       # 0: every time
              "action": "stall" | "reset" | "reply",
              "reply": "421 Closing",            # for "reply"; a 421 closes the session
              "after_bytes": 4096}]}             # for transfers: how much is taken first

"stall" never answers the command; with after_bytes on an upload, the server takes that
much and then stops reading. "reset" takes after_bytes of an upload, keeps them in the file
being written (as a server that dies mid-transfer leaves it) and resets both connections.
"""

import argparse
import json
import os
import socket
import struct
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

PERMISSIONS = "elradfmwMT"
TRANSFERS = ("STOR", "STOU", "APPE")


def read_json(path, default):
    try:
        with open(path, encoding="utf-8") as f:
            return json.load(f)
    except (OSError, ValueError):
        return default


def write_json(path, value):
    # Written beside and renamed, so the test never reads half a file.
    temporary = path + ".new"
    with open(temporary, "w", encoding="utf-8") as f:
        json.dump(value, f)
    os.replace(temporary, path)


def hard_reset(sock):
    """Closes with a TCP reset instead of an orderly shutdown."""
    try:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    except OSError:
        pass


class Faults:
    """The control file and the command counts, shared by every session of the server."""

    def __init__(self, control_path, state_path):
        self.control_path = control_path
        self.state_path = state_path
        self.counts = {}
        self.control = {}
        self.reload()
        self.save()

    def reload(self):
        self.control = read_json(self.control_path, {})

    def save(self):
        write_json(self.state_path, {"counts": self.counts})

    def count(self, command):
        self.counts[command] = self.counts.get(command, 0) + 1
        self.save()
        return self.counts[command]

    def rule_for(self, command, occurrence):
        for rule in self.control.get("rules", []):
            if rule.get("command", "").upper() != command:
                continue
            nth = int(rule.get("nth", 0))
            if nth == 0 or nth == occurrence:
                return rule
        return None


class FaultyDTPHandler(DTPHandler):
    """A data connection that can stop reading or reset in the middle of an upload."""

    def handle_read(self):
        DTPHandler.handle_read(self)
        rule = getattr(self.cmd_channel, "transfer_rule", None)
        if rule is None or not self.receive or self._closed:
            return
        if self.tot_bytes_received < int(rule.get("after_bytes", 0)):
            return
        if rule["action"] == "stall":
            self.receive = False
            self.del_channel()
        elif rule["action"] == "reset":
            self.cmd_channel.reset_mid_transfer(self)

    # The base class calls its own reader through this name.
    handle_read_event = handle_read


class FaultyFTPHandler(FTPHandler):
    dtp_handler = FaultyDTPHandler
    faults = None
    auth_failed_timeout = 0.1
    last_argument = ""
    transfer_rule = None

    def handle(self):
        self.faults.reload()
        greeting = self.faults.control.get("greeting", "normal")
        if greeting == "none":
            self.on_connect()
            return
        if greeting == "garbage":
            self.on_connect()
            self.push("\x16\x03\x01 garbage instead of a greeting\r\nHELLO?\r\n")
            return
        FTPHandler.handle(self)

    def respond(self, resp, *args, **kwargs):
        if self.faults.control.get("echo") and self.last_argument:
            resp = "%s (you said: %s)" % (resp, self.last_argument)
        FTPHandler.respond(self, resp, *args, **kwargs)

    def pre_process_command(self, line, cmd, arg):
        self.faults.reload()
        occurrence = self.faults.count(cmd)
        self.last_argument = arg
        self.transfer_rule = None
        rule = self.faults.rule_for(cmd, occurrence)
        if rule is not None and self.apply(rule, cmd):
            return
        FTPHandler.pre_process_command(self, line, cmd, arg)

    def apply(self, rule, cmd):
        """Carries out a rule; True when the command must not be processed further."""
        action = rule.get("action")
        during_transfer = cmd in TRANSFERS and int(rule.get("after_bytes", 0)) > 0
        if action == "reset" or (action == "stall" and during_transfer):
            self.transfer_rule = rule
            return False
        if action == "stall":
            return True
        if action == "reply":
            reply = rule.get("reply", "500 Refused.")
            self.respond(reply)
            if reply.startswith("421"):
                self.close_when_done()
            return True
        return False

    def reset_mid_transfer(self, channel):
        # What was received so far stays in the file under the name being written.
        if channel.file_obj is not None and not channel.file_obj.closed:
            channel.file_obj.flush()
        channel._resp = None
        hard_reset(channel.socket)
        hard_reset(self.socket)
        self.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    parser.add_argument("--anonymous", action="store_true")
    parser.add_argument("--passive-ports", default="")
    parser.add_argument("--control", required=True)
    parser.add_argument("--state", required=True)
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    if args.user:
        authorizer.add_user(args.user, args.password, args.root, perm=PERMISSIONS)
    if args.anonymous:
        authorizer.add_anonymous(args.root, perm=PERMISSIONS)
    FaultyFTPHandler.authorizer = authorizer
    FaultyFTPHandler.faults = Faults(args.control, args.state)
    if args.passive_ports:
        low, high = (int(p) for p in args.passive_ports.split("-"))
        FaultyFTPHandler.passive_ports = range(low, high + 1)

    server = FTPServer(("127.0.0.1", 0), FaultyFTPHandler)
    # The test waits for this line to learn the port.
    print("listening on port %d" % server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
