#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""A TCP proxy on 127.0.0.1 for an FTP control connection that breaks off on a command.

Every client connection is passed on to the server; a line from the client that matches
--drop is not passed on: both connections are reset instead, as a network that drops a
session does. A connection the server ends or resets is reset towards the client too.
Data connections go straight to the server (its passive replies name it).
"""

import argparse
import re
import socket
import struct
import sys
import threading


def reset(sock):
    # Shut down first: a close alone would wait for the other thread's recv on the socket.
    for step in (lambda: sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                         struct.pack("ii", 1, 0)),
                 lambda: sock.shutdown(socket.SHUT_RDWR),
                 sock.close):
        try:
            step()
        except OSError:
            pass


def server_to_client(upstream, client):
    try:
        while True:
            data = upstream.recv(65536)
            if not data:
                break
            client.sendall(data)
    except OSError:
        pass
    reset(client)
    reset(upstream)


def client_to_server(client, upstream, drop):
    pending = b""
    try:
        while True:
            data = client.recv(65536)
            if not data:
                break
            pending += data
            while b"\n" in pending:
                line, pending = pending.split(b"\n", 1)
                if drop.search(line.decode("utf-8", "replace").strip()):
                    reset(client)
                    reset(upstream)
                    return
                upstream.sendall(line + b"\n")
    except OSError:
        pass
    reset(client)
    reset(upstream)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--server-port", type=int, required=True)
    parser.add_argument("--drop", required=True, help="regular expression for client lines")
    args = parser.parse_args()
    drop = re.compile(args.drop)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    # The test waits for this line to learn the port.
    print("listening on port %d" % listener.getsockname()[1], flush=True)
    while True:
        client, _ = listener.accept()
        upstream = socket.create_connection(("127.0.0.1", args.server_port))
        threading.Thread(target=server_to_client, args=(upstream, client), daemon=True).start()
        threading.Thread(target=client_to_server, args=(client, upstream, drop),
                         daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
