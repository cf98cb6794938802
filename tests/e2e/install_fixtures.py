"""pytest fixtures of the install tests: a served site, the list servers and an Installer
bound to a fresh prefix that trusts the test CA."""
import pytest

import servers
from install_harness import Installer, list_servers, stamp_with
from install_site import InstallSite


@pytest.fixture
def site(tmp_path, bin_dir):
    return InstallSite(tmp_path / "site", bin_dir)


@pytest.fixture
def list_server_pair(tmp_path, site, test_certs):
    with list_servers(tmp_path, site, test_certs.localhost) as pair:
        yield pair


@pytest.fixture
def installer(wine_prefix, bin_dir, program, site, channel_stamp, test_certs, list_server_pair):
    servers.trust_ca_in_prefix(wine_prefix, test_certs.ca)
    result = Installer(wine_prefix, bin_dir, program, site, stamp_with(channel_stamp))
    result.servers = list_server_pair
    return result
