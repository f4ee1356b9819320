// Links a lower layer whole, without widgets or printing: the link fails if
// anything in it calls into them.
int main()
{
    return 0;
}
