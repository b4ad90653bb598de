// Writes the given pieces as the whole document, in order.
(function (pieces) {
    document.open();
    for (var i = 0; i < pieces.length; ++i)
        document.write(pieces[i]);
    document.close();
    return true;
})
